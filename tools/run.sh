#!/usr/bin/env bash
# Builds Rufwacht and runs it on the simulated line with the demo scenario. Without a display
# it runs headless and shows its trace on the terminal. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUFWACHT_BENCH=OFF >/dev/null
cmake --build build --target rufwacht

# The demo's callers and own numbers, on the first run only: the user's lists are never touched.
mkdir -p build/bin/config
for list in nn.dat msn.dat; do
  [ -e "build/bin/config/$list" ] || cp "data/demo/$list" "build/bin/config/$list"
done

arguments=(--line=sim:demo/calls.scenario)
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  arguments+=(--headless --debug)
fi
exec build/bin/rufwacht "${arguments[@]}" "$@"
