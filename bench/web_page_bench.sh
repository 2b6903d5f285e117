#!/usr/bin/env bash
# Requests per second of the journal web page with 4096 calls, beside nginx serving the same
# bytes as a static file, both measured with wrk in this one run. Not part of the tests.
#   bench/web_page_bench.sh [build-dir] [seconds]
# Needs wrk; nginx is measured when installed (nginx-light), else skipped with a note.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-10}
command -v wrk >/dev/null || { echo "wrk is not installed (apt-get install wrk)"; exit 1; }
[ -x "$build/bin/rufwacht" ] || { echo "build the program first: $build/bin/rufwacht"; exit 1; }

work=$(mktemp -d)
chmod 755 "$work" # nginx's workers read the page as another user
program_pid=""
nginx_pid_file="$work/nginx/nginx.pid"
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -f "$nginx_pid_file" ] && kill "$(cat "$nginx_pid_file")" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

port=$((20000 + RANDOM % 5000))
nginx_port=$((port + 1))
cp -r "$build/bin" "$work/app"
rm -rf "$work/app/config"
mkdir -p "$work/app/config" "$work/run"
chmod 700 "$work/run"
printf '[config]\r\nlanguage=english\r\nwebexporton=-1\r\nwebexportport=%s\r\n' "$port" \
  >"$work/app/config/config.dat"
awk 'BEGIN { for (i = 0; i < 4096; i++)
  printf "0%d\t0%d\t12345\t%02d.06.24\t%02d:%02d:00\tCaller hung up\tTelephony\r\n",
         8150000 + i, 8150000 + i, i % 28 + 1, i % 24, i % 60 }' >"$work/app/config/calls.txt"
: >"$work/empty.scenario"
XDG_RUNTIME_DIR="$work/run" "$work/app/rufwacht" --headless --line="sim:$work/empty.scenario" \
  >"$work/program.log" 2>&1 &
program_pid=$!

url="http://127.0.0.1:$port/index.html&pwd=brindle"
for _ in $(seq 100); do
  curl -sf -o "$work/page.html" "$url" && break
  sleep 0.1
done
[ -s "$work/page.html" ] || { echo "the program did not serve the page"; cat "$work/program.log"; exit 1; }
echo "page: $(stat -c %s "$work/page.html") bytes, 4096 rows; wrk -t1 -c8 -d${seconds}s"

# Requests per second; a run with failed requests counts as none.
rate() {
  wrk -t1 -c8 -d"${seconds}s" "$@" |
    awk '/Non-2xx|Socket errors: connect [1-9]/ { bad = 1 } /Requests\/sec/ { r = $2 }
         END { print bad ? "0 (requests failed)" : r }'
}

echo "rufwacht (Connection: close, as the page is served):  $(rate "$url") requests/s"
if command -v nginx >/dev/null; then
  mkdir -p "$work/nginx/www" "$work/nginx/tmp"
  cp "$work/page.html" "$work/nginx/www/page.html"
  cat >"$work/nginx/nginx.conf" <<CONF
worker_processes 1;
pid $nginx_pid_file;
error_log $work/nginx/error.log;
events { worker_connections 256; }
http {
  access_log off;
  client_body_temp_path $work/nginx/tmp; proxy_temp_path $work/nginx/tmp;
  fastcgi_temp_path $work/nginx/tmp; uwsgi_temp_path $work/nginx/tmp; scgi_temp_path $work/nginx/tmp;
  sendfile on;
  server { listen 127.0.0.1:$nginx_port; root $work/nginx/www; default_type text/html; }
}
CONF
  nginx -c "$work/nginx/nginx.conf" -p "$work/nginx"
  static="http://127.0.0.1:$nginx_port/page.html"
  for _ in $(seq 50); do curl -sf -o /dev/null "$static" && break; sleep 0.1; done
  echo "nginx, one worker, keep-alive:                         $(rate "$static") requests/s"
  echo "nginx, one worker, Connection: close:                  $(rate -H 'Connection: close' "$static") requests/s"
else
  echo "nginx is not installed (apt-get install nginx-light): its figures are skipped"
fi
