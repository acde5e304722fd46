#!/usr/bin/env bash
# Installs what building and testing Vantrel needs on Debian 12, as root:
# cmake, the host compiler and GoogleTest for the unit tests, MinGW-w64 for the
# Windows binaries, Wine and Xvfb to run them, ImageMagick for screenshots and
# the fonts they show (Wine's own for the caption buttons, DejaVu for Latin,
# Greek, Cyrillic and Arabic, WenQuanYi Micro Hei for Chinese, Japanese and
# Korean), zip for the release archive (scripts/package.sh).
# Does nothing when everything is there already.
set -eu

packages=(cmake make g++ libgtest-dev googletest
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
          wine wine64 xvfb xauth x11-utils x11-xserver-utils imagemagick zip
          fonts-wine fonts-dejavu-core fonts-wqy-microhei)
# The 32-bit Wine loader: only installable with the i386 architecture.
i386_packages=(wine32:i386)

missing=()
for p in "${packages[@]}" "${i386_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
fi
echo "install-deps: installing ${missing[*]}" >&2
dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
# Some kernels cannot run 32-bit programs; 32-bit Wine is then of no use, but
# installing it must not stop the rest.
apt-get install -y -qq --no-install-recommends "${i386_packages[@]}" >/dev/null ||
    echo "install-deps: 32-bit Wine could not be installed; 64-bit Wine will run the tests" >&2
