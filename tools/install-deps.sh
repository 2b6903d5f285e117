#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need (only those missing).
# --package adds what making and checking the Debian package needs; --test adds what the tests
# need, packaging included.
set -euo pipefail

# imagemagick draws the menu icons during the build; libmosquitto is the MQTT output's client;
# qt6-wayland lets the program run on a Wayland session; libsystemd tells systemd the program
# lives; ccache keeps rebuilds short.
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libgl-dev qt6-qpa-plugins qt6-wayland
  libgtest-dev libgmock-dev libbenchmark-dev
  libcapi20-3 imagemagick libmosquitto-dev libsystemd-dev ccache
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
  # installed desktop entry and AppStream metadata. strace kills the program at chosen writes.
  # mosquitto and its clients are the broker and the reader of the MQTT test. dbus-daemon
  # carries the notification tests' private session bus, weston their Wayland compositor.
  packages+=(xvfb xauth trayer xdotool x11-apps curl libxml2-utils w3c-sgml-lib dbus weston
    desktop-file-utils appstream strace mosquitto mosquitto-clients "${package_tools[@]}")
  # A CardDAV server for the address book tests.
  packages+=(radicale)
  # The Windows half: cross compiler, GoogleTest's sources for it, and wine to run the tests.
  packages+=(g++-mingw-w64-x86-64-posix googletest wine64)
  # clang's libFuzzer and sanitizer runtimes for the fuzz targets; ip and nft for the test of
  # a router that vanishes.
  packages+=(clang-14 libclang-rt-14-dev iproute2 nftables)
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
