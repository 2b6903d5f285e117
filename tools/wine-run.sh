#!/usr/bin/env bash
# Runs a Windows program of the cross build under wine64 without a display: no debug chatter,
# no Mono or Gecko installers, a Wine prefix of the build's own (created on first use).
set -euo pipefail
program=$1
shift
build_dir=${RUFWACHT_WINE_BUILD_DIR:-$PWD}
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=-all
# Wine's own capi2032 would pass the calls on to libcapi20: the library beside the program wins.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;capi2032=n"
export DISPLAY=
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
exec "$wine" "$program" "$@"
