#!/usr/bin/env bash
# The installed program: "cmake --install" into a temporary DESTDIR, then the program run from
# there as a user starts it, with HOME in a temporary folder. It must find its data tree in
# share/rufwacht/, keep its files below HOME and write nowhere else. The installed desktop
# entry, AppStream metadata, icons and user unit are checked as the desktop would use them.
# Usage: installed-program.sh CMAKE BUILD_DIR VERSION
set -euo pipefail
cmake=$1 build=$2 version=$3

tmp=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

root=$tmp/root home=$tmp/home work=$tmp/work
mkdir -p "$home/run" "$home/tmp" "$work"
chmod 700 "$home/run"
DESTDIR=$root "$cmake" --install "$build" --prefix /usr >/dev/null
program=$root/usr/bin/rufwacht
config=$home/.config/rufwacht

# A user's session without a display: HOME, the session's runtime folder, nothing else of ours.
user=(env -C "$work" -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u DISPLAY
    -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$home" XDG_RUNTIME_DIR="$home/run"
    TMPDIR="$home/tmp" "$program")
# Every file and folder outside HOME that the program could write to.
untouched() { find "$root" "$work" -printf '%p %s %T@ %m\n' | sort; }
before=$(untouched)

[ "$("${user[@]}" --version)" = "Rufwacht $version" ] || fail "--version"
[ "$("${user[@]}" --origin 0351123456)" = "Dresden" ] ||
    fail "--origin does not find the installed tables"

# The demo as the manual page shows it: its phonebook and MSN list copied into the settings folder.
mkdir -p "$config"
cp "$root/usr/share/rufwacht/demo/nn.dat" "$root/usr/share/rufwacht/demo/msn.dat" "$config/"
# With an MQTT output (to a port where no broker listens) the program loads its MQTT module.
printf '[config]\r\nlanguage=english\r\nmqtt=-1\r\nmqtthost=127.0.0.1\r\nmqttport=1\r\n' \
    >"$config/config.dat"
"${user[@]}" --headless --line=sim:demo/calls.scenario >"$tmp/demo.log" 2>&1 &
pid=$!
# The demo's first caller, named from the phonebook, on the own number named in the MSN list,
# comes after two seconds.
first_call=$'03012345678\tErika Mustermann\tPrivat'
for _ in $(seq 300); do
    if grep -qF "$first_call" "$config/calls.txt" 2>/dev/null || ! kill -0 "$pid" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
grep -qF "$first_call" "$config/calls.txt" 2>/dev/null ||
    fail "the demo's first call is not in the journal: $(cat "$tmp/demo.log")"
grep -q "^$root/usr/lib/.*rufwacht/rufwacht-mqtt.so$" <(awk '{print $6}' "/proc/$pid/maps") ||
    fail "the installed program did not load its MQTT module: $(cat "$tmp/demo.log")"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] ||
    fail "the headless program ended with $status on SIGTERM: $(cat "$tmp/demo.log")"

[ "$before" = "$(untouched)" ] ||
    fail "written outside HOME: $(diff <(echo "$before") <(untouched) | head -20)"

# The desktop finds the icon the entry names in every size folder, at that size.
for icon in "$root"/usr/share/icons/hicolor/*/apps/rufwacht.png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    read -r -a header < <(od -An -tu1 -j16 -N8 "$icon")
    width=$((header[2] * 256 + header[3])) height=$((header[6] * 256 + header[7]))
    [ "${width}x${height}" = "$size" ] || fail "$icon is ${width}x${height}"
done
[ -e "$root/usr/share/icons/hicolor/48x48/apps/rufwacht.png" ] || fail "no 48x48 menu icon"

# The user unit starts the installed program.
exec_start=$(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$root/usr/lib/systemd/user/rufwacht.service")
[ -x "$root$exec_start" ] || fail "the user unit starts $exec_start, which is not installed"

skipped=()
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/rufwacht.desktop" ||
        fail "desktop-file-validate"
else
    skipped+=(desktop-file-validate)
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.rufwacht.metainfo.xml" ||
        fail "appstreamcli validate"
else
    skipped+=(appstreamcli)
fi
if [ ${#skipped[@]} -gt 0 ]; then
    echo "SKIPPED: ${skipped[*]} not installed (tools/install-deps.sh --test installs them)"
    exit 77
fi
