#!/usr/bin/env bash
# Installs what is missing, builds vantrel.exe and VANTREL.DLL (with the hook
# companions of both bitnesses) and runs Vantrel
# under Wine: on the current X display when there is one (until you close it),
# otherwise on a private Xvfb display, where it saves a screenshot to
# build/vantrel-screenshot.png and ends.
#
# VANTREL_DPI=144 (or another number of pixels per inch: 192 for 200 %) runs it
# on a screen of that scale, in a Wine prefix of its own; the screenshot is then
# build/vantrel-screenshot-144.png.
set -eu
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# The product: 32-bit Windows binaries.
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target vantrel vantrel_hook other_bitness
arch=$(bash scripts/wine-arch.sh)
if [ "$arch" != win32 ]; then
    echo "run: this machine runs only 64-bit Wine; running the 64-bit build of the same sources" >&2
    cmake --preset "$arch" >/dev/null
    cmake --build --preset "$arch" --target vantrel vantrel_hook other_bitness
fi
build="build/$arch"
dpi=${VANTREL_DPI:-}
export VANTREL_WINE_DPI=$dpi

if [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
    VANTREL_USE_DISPLAY=1 bash scripts/with-wine.sh "$build" wine "$build/vantrel.exe"
else
    shot="$PWD/build/vantrel-screenshot${dpi:+-$dpi}.png"
    bash scripts/with-wine.sh "$build" bash -c '
        wine "$0/vantrel.exe" &
        # The first tree is built when the main window appears.
        for i in $(seq 1 60); do
            sleep 1
            if xwininfo -root -tree 2>/dev/null | grep -q "\"Vantrel\""; then break; fi
        done
        sleep 3
        import -window root "$1"
        echo "run: screenshot saved to $1"
    ' "$build" "$shot"
fi
