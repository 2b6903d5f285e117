#!/usr/bin/env bash
# The Debian package made from the build: named as the update check expects it, its Depends
# found by dpkg-shlibdeps (libmosquitto at least 2.0), the CAPI library recommended, and no errors from lintian.
# Usage: debian-package.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1 build=$2 version=$3

for tool in lintian dpkg-shlibdeps file; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool not installed (tools/install-deps.sh --test installs it)"
        exit 77
    fi
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cpack" --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$tmp/cpack.log")"
deb=$tmp/rufwacht_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb"), but: $(ls "$tmp")"

depends=$(dpkg-deb -f "$deb" Depends)
[[ "$depends" == *libqt6widgets6* && "$depends" == *libc6* ]] || fail "Depends: $depends"
[[ "$depends" == *"libmosquitto1 (>= 2.0)"* ]] || fail "Depends without libmosquitto1 2.0: $depends"
[ "$(dpkg-deb -f "$deb" Recommends)" = "libcapi20-3, qt6-wayland" ] || fail "Recommends libcapi20-3, qt6-wayland"

lintian --fail-on error "$deb" 2>&1 || fail "lintian found errors"
