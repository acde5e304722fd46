#!/usr/bin/env bash
# Installs what is missing, builds vantrel.exe and VANTREL.DLL (with the hook
# companions of both bitnesses) and runs Vantrel
# under Wine: on the current X display when there is one (until you close it),
# otherwise on a private Xvfb display, where it saves a screenshot of Vantrel's
# window to build/vantrel-screenshot.png and ends (scripts/screenshot.sh): Wine
# draws the window's caption and frame itself, as on Windows (the private
# display has no window manager), and a few windows titled in other scripts
# (the test fixture's group "scripts") are open before Vantrel starts, so that
# the tree shows them.
#
# VANTREL_DPI=144 (or another number of pixels per inch: 192 for 200 %) runs it
# on a screen of that scale, in a Wine prefix of its own; the screenshot is then
# build/vantrel-screenshot-144.png.
set -eu
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# The product: 32-bit Windows binaries.
cmake --preset win32 -DVANTREL_FIXTURE=ON >/dev/null
cmake --build --preset win32 --target vantrel vantrel_hook other_bitness vantrel_fixture
arch=$(bash scripts/wine-arch.sh)
if [ "$arch" != win32 ]; then
    echo "run: this machine runs only 64-bit Wine; running the 64-bit build of the same sources" >&2
    cmake --preset "$arch" -DVANTREL_FIXTURE=ON >/dev/null
    cmake --build --preset "$arch" --target vantrel vantrel_hook other_bitness vantrel_fixture
fi
build="build/$arch"
dpi=${VANTREL_DPI:-}
export VANTREL_WINE_DPI=$dpi

if [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
    VANTREL_USE_DISPLAY=1 bash scripts/with-wine.sh "$build" wine "$build/vantrel.exe"
else
    shot="$PWD/build/vantrel-screenshot${dpi:+-$dpi}.png"
    VANTREL_WINE_LOOK=1 bash scripts/with-wine.sh "$build" bash scripts/screenshot.sh "$build" "$shot"
fi
