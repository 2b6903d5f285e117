#!/usr/bin/env bash
# Builds the Debian package rufwacht_<version>_amd64.deb into the top folder: a build with
# Debian's compiler and hardening flags in build-package/, packed by CPack, checked by lintian.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh --package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake takes no CPPFLAGS: the preprocessor's flags (fortify) go with the compilers'.
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"

cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=None -DRUFWACHT_TESTS=OFF \
  -DRUFWACHT_BENCH=OFF >/dev/null
cmake --build build-package -j "$(nproc)"
cpack --config build-package/CPackConfig.cmake -B build-package/package >/dev/null
deb=$(find build-package/package -maxdepth 1 -name 'rufwacht_*.deb')
mv "$deb" .
deb=$(basename "$deb")
lintian --fail-on error "$deb" || { echo "lintian found errors in $deb" >&2; exit 1; }
echo "$PWD/$deb"
