#!/usr/bin/env bash
# Requests per second of the journal web page, beside nginx serving the same bytes as a static
# file, both measured with wrk in this one run, with the ratio: a page of 4096 calls, and one of
# 100 calls over keep-alive connections. Not part of the tests.
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
journal() {
  awk -v rows="$1" 'BEGIN { for (i = 0; i < rows; i++)
    printf "0%d\t0%d\t12345\t%02d.06.24\t%02d:%02d:00\tCaller hung up\tTelephony\r\n",
           8150000 + i, 8150000 + i, i % 28 + 1, i % 24, i % 60 }' >"$work/app/config/calls.txt"
}
journal 4096
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

nginx_started=""
start_nginx() {
  command -v nginx >/dev/null || return 1
  [ -n "$nginx_started" ] && return 0
  mkdir -p "$work/nginx/www" "$work/nginx/tmp"
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
  keepalive_requests 1000000;
  server { listen 127.0.0.1:$nginx_port; root $work/nginx/www; default_type text/html; }
}
CONF
  nginx -c "$work/nginx/nginx.conf" -p "$work/nginx"
  nginx_started=1
}
# Puts the page just served where nginx serves it and waits until it does.
serve_static() {
  cp "$work/page.html" "$work/nginx/www/$1"
  for _ in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$nginx_port/$1" && break; sleep 0.1; done
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.2f", a / b; else print "-" }'; }

ours=$(rate -H 'Connection: close' "$url")
echo "rufwacht, Connection: close:                           $ours requests/s"
if start_nginx; then
  serve_static page.html
  static="http://127.0.0.1:$nginx_port/page.html"
  theirs=$(rate "$static")
  echo "nginx, one worker, keep-alive:                         $theirs requests/s"
  theirs_close=$(rate -H 'Connection: close' "$static")
  echo "nginx, one worker, Connection: close:                  $theirs_close requests/s (ratio $(ratio "$ours" "$theirs_close"))"
else
  echo "nginx is not installed (apt-get install nginx-light): its figures are skipped"
fi

# 100 rows, keep-alive on both sides. The journal changes on disk: the page is built anew.
journal 100
sleep 3.5 # older than the time stamps' resolution, so the page is kept between requests
rm -f "$work/page.html"
for _ in $(seq 50); do
  curl -sf -o "$work/page.html" "$url" && grep -q "08150099" "$work/page.html" && break
  sleep 0.1
done
echo
echo "page: $(stat -c %s "$work/page.html") bytes, 100 rows; keep-alive; wrk -t1 -c8 -d${seconds}s"
ours=$(rate "$url")
echo "rufwacht, keep-alive:                                  $ours requests/s"
if start_nginx; then
  serve_static page100.html
  theirs=$(rate "http://127.0.0.1:$nginx_port/page100.html")
  echo "nginx, one worker, keep-alive:                         $theirs requests/s"
  echo "ratio rufwacht / nginx: $(ratio "$ours" "$theirs") (goal >= 0.5)"
fi
