#!/usr/bin/env bash
# Builds everything and runs all tests: the whole suite (core, Qt on the offscreen platform,
# end to end), then the whole suite again built with AddressSanitizer and UBSan, then every
# libFuzzer target for a few seconds over its seed corpus, then the Windows half (the core and
# its tests cross-built with MinGW-w64, run under wine).
set -euo pipefail
cd "$(dirname "$0")/.."
# With ccache, a second clone or build folder compiles from the cache: paths count from here.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"

tools/install-deps.sh --test
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUFWACHT_WERROR=ON \
  -DRUFWACHT_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRUFWACHT_SANITIZE=ON \
  -DRUFWACHT_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The fuzz targets (clang, their own build folder): each for RUFWACHT_FUZZ_SECONDS (12 s), the
# seeds and every crash input found before replayed first.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DRUFWACHT_FUZZ=ON -DRUFWACHT_WERROR=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
ctest --test-dir build-fuzz --output-on-failure -j "$jobs"

if command -v x86_64-w64-mingw32-g++-posix >/dev/null && [ -x /usr/lib/wine/wine64 ]; then
  cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DRUFWACHT_WERROR=ON >/dev/null
  cmake --build build-win -j "$jobs"
  ctest --test-dir build-win --output-on-failure -j "$jobs"
else
  echo "The Windows half is not tested: MinGW-w64 or wine64 is missing."
fi
