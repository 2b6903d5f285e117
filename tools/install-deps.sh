#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need (only those missing).
# --package adds what making and checking the Debian package needs; --test adds what the tests
# need, packaging included.
set -euo pipefail

# imagemagick draws the menu icons during the build.
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libgl-dev qt6-qpa-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  libcapi20-3 imagemagick libsystemd-dev
)
# CPack's Debian generator needs file and dpkg-shlibdeps (dpkg-dev); lintian checks the package.
package_tools=(dpkg-dev file lintian)
case "${1:-}" in
--package)
  packages+=("${package_tools[@]}")
  ;;
--test)
  # A virtual screen with a notification area; xdotool drives it and xwd tells when it is still.
  # curl and xmllint with the XHTML DTDs check the journal web page. The validators check the
  # installed desktop entry and AppStream metadata.
  # clang's libFuzzer and sanitizer runtimes for the fuzz targets; ip and nft for the test of
  # a router that vanishes.
  packages+=(clang-14 libclang-rt-14-dev iproute2 nftables)
  packages+=(xvfb xauth trayer xdotool x11-apps curl libxml2-utils w3c-sgml-lib
    desktop-file-utils appstream "${package_tools[@]}")
  ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
