#!/usr/bin/env bash
# with-wine.sh <build-dir> <command> [args...]
#
# Runs one command inside a Wine session of its own for the given build folder:
#   - a Wine prefix at <build-dir>/wineprefix, made once and reused;
#   - a private Xvfb server (1280x1024x24, no window manager) on a free display;
#   - DISPLAY, WINEPREFIX, WINEARCH and WINEDEBUG=-all exported for the command.
# Afterwards (also on failure or interruption) every Wine process of that prefix
# is ended with wineserver -k and the Xvfb server is stopped by its PID. The exit
# code is the command's.
#
# A command word "wine" is replaced by the Wine loader that fits the machine,
# and a "wine" in PATH points to the same loader for nested calls.
#
# Machines whose kernel cannot run 32-bit Linux programs cannot run 32-bit Wine
# at all; there the session uses 64-bit Wine and a 64-bit prefix, and the build
# folder must hold a 64-bit cross build (toolchain cmake/mingw-x86_64.cmake).
# VANTREL_WINE_ARCH=win32|win64 forces the choice. A 64-bit session on a
# machine that has 32-bit Wine as well runs programs of both bitnesses side by
# side (the cross-bitness suite uses one).
#
# VANTREL_USE_DISPLAY=1 runs on the caller's DISPLAY instead of a private Xvfb.
#
# VANTREL_PIN_CPU=1 pins Xvfb, the wineserver and the command to CPU 0, so that
# timings of several runs compare.
#
# VANTREL_WINE_DPI=<pixels per inch> runs the session on a screen of that scale
# (144 for 150 %, 192 for 200 %): it uses a prefix of its own,
# <build-dir>/wineprefix-dpi<n>, whose LogPixels is set before the command
# starts, so that the sessions at 96 never see another scale.
#
# VANTREL_WINE_LOOK=1 shows windows as they look on Windows, for screenshots:
# Wine draws the captions and frames of top-level windows itself (X11 driver
# setting "Decorated" N: the private display has no window manager to draw
# them), the caption buttons' symbols come from Wine's own Marlett font
# (fonts-wine), and characters of Chinese, Japanese and Korean come from
# WenQuanYi Micro Hei through a font link from DejaVu Sans, the face Wine takes
# for the interface font (Windows links its interface fonts to its CJK fonts
# alike). It uses a prefix of its own, <build-dir>/wineprefix-look (-dpi<n>
# after it), so that the test sessions never see another look.
#
# Two build folders never share a prefix or a display; one build folder runs
# one session at a time (ctest runs the end-to-end tests serially).

set -u

if [ $# -lt 2 ]; then
    echo "usage: $0 <build-dir> <command> [args...]" >&2
    exit 2
fi

build_dir=$(cd "$1" && pwd) || { echo "with-wine: no build folder $1" >&2; exit 2; }
shift

pin=()
if [ "${VANTREL_PIN_CPU:-0}" = "1" ]; then
    pin=(taskset -c 0)
fi

# --- Which Wine: 32-bit where the machine can run it, else 64-bit. ---
wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64
arch=${VANTREL_WINE_ARCH:-}
if [ -z "$arch" ]; then
    if [ -x "$wine32_loader" ] && "$wine32_loader" --version >/dev/null 2>&1; then
        arch=win32
    elif [ -x "$wine64_loader" ]; then
        arch=win64
    else
        echo "with-wine: no runnable Wine loader (tried $wine32_loader and $wine64_loader)" >&2
        exit 2
    fi
fi
if [ "$arch" = win32 ]; then
    loader=$wine32_loader
else
    loader=$wine64_loader
fi

# A 64-bit session runs 32-bit programs too where 32-bit Wine runs (the 64-bit
# loader hands them to it). Where it does not, a 32-bit program cannot run:
# say so plainly instead of leaving Wine's loader error to be puzzled over.
runs32=0
if [ -x "$wine32_loader" ] && "$wine32_loader" --version >/dev/null 2>&1; then
    runs32=1
fi
if [ "$arch" = win64 ] && [ "$runs32" = 0 ] && [ "${1:-}" = wine ] && [ -f "${2:-}" ]; then
    pe_offset=$(od -An -t u4 -j 60 -N 4 "$2" 2>/dev/null | tr -d ' ')
    machine=$(od -An -t x2 -j $((pe_offset + 4)) -N 2 "$2" 2>/dev/null | tr -d ' ')
    if [ "$machine" = 014c ]; then
        echo "with-wine: $2 is a 32-bit program, but this machine runs only 64-bit Wine;" \
             "build with -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake to run it here" >&2
        exit 2
    fi
fi

dpi=${VANTREL_WINE_DPI:-}
case $dpi in
    "") ;;
    *[!0-9]*) echo "with-wine: VANTREL_WINE_DPI must be a number of pixels per inch, not $dpi" >&2; exit 2 ;;
esac

look=
case ${VANTREL_WINE_LOOK:-0} in
    0) ;;
    1) look=-look ;;
    *) echo "with-wine: VANTREL_WINE_LOOK must be 0 or 1, not $VANTREL_WINE_LOOK" >&2; exit 2 ;;
esac

export WINEARCH=$arch
export WINEPREFIX="$build_dir/wineprefix$look${dpi:+-dpi$dpi}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINELOADER=$loader

# A "wine" in PATH for nested calls, bound to the chosen loader.
shim_dir="$build_dir/wine-bin"
mkdir -p "$shim_dir"
printf '#!/bin/sh\nexec %s "$@"\n' "$loader" > "$shim_dir/wine.tmp.$$"
chmod +x "$shim_dir/wine.tmp.$$"
mv -f "$shim_dir/wine.tmp.$$" "$shim_dir/wine"
export PATH="$shim_dir:$PATH"

xvfb_pid=""
cleanup() {
    # Ends every Wine process of this prefix; then the display.
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" >/dev/null 2>&1
        wait "$xvfb_pid" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# --- A private X display, unless the caller works on its own. ---
if [ "${VANTREL_USE_DISPLAY:-0}" = "1" ] && [ -n "${DISPLAY:-}" ]; then
    display=$DISPLAY
else
    # Start from a number derived from the build folder, so parallel build folders
    # rarely race for the same display; a taken number is skipped.
    seed=$(( $(printf '%s' "$build_dir" | cksum | cut -d' ' -f1) % 400 + 100 ))
    display=""
    for ((i = 0; i < 400; i++)); do
        n=$(( (seed - 100 + i) % 400 + 100 ))
        if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then
            continue
        fi
        "${pin[@]}" Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        xvfb_pid=$!
        for ((t = 0; t < 100; t++)); do
            if [ -e "/tmp/.X11-unix/X$n" ]; then
                break
            fi
            if ! kill -0 "$xvfb_pid" 2>/dev/null; then
                break
            fi
            sleep 0.1
        done
        if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            display=":$n"
            break
        fi
        kill "$xvfb_pid" >/dev/null 2>&1
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=""
    done
    if [ -z "$display" ]; then
        echo "with-wine: could not start Xvfb on any free display" >&2
        exit 2
    fi
    export DISPLAY=$display
fi

# --- The prefix, made once per build folder and architecture. ---
stamp="$WINEPREFIX/.vantrel-arch"
if [ ! -f "$WINEPREFIX/system.reg" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$arch" ]; then
    # A leftover server of a broken prefix would keep the old files busy.
    wineserver -k >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
    echo "with-wine: creating $arch prefix $WINEPREFIX" >&2
    if ! "${pin[@]}" "$loader" wineboot -i >/dev/null 2>&1; then
        echo "with-wine: wineboot -i failed" >&2
        exit 2
    fi
    wineserver -w >/dev/null 2>&1
    echo "$arch" > "$stamp"
fi

# Settings of the prefix, read by the programs a fresh server starts: the
# screen's scale, and the look.
settings=()
if [ -n "$dpi" ]; then
    settings+=('HKCU\Control Panel\Desktop' LogPixels REG_DWORD "$dpi")
fi
if [ -n "$look" ]; then
    settings+=('HKCU\Software\Wine\X11 Driver' Decorated REG_SZ N)
    for face in "DejaVu Sans" "DejaVu Sans Bold"; do
        settings+=('HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' "$face" REG_MULTI_SZ
                   'wqy-microhei.ttc,WenQuanYi Micro Hei')
    done
    # Wine finds the fonts of the Windows folder by themselves.
    marlett=/usr/share/wine/fonts/marlett.ttf
    if [ -f "$marlett" ]; then
        ln -sf "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
    else
        echo "with-wine: $marlett is missing (package fonts-wine): caption buttons show letters" >&2
    fi
fi
for ((i = 0; i < ${#settings[@]}; i += 4)); do
    if ! "$loader" reg add "${settings[i]}" /v "${settings[i + 1]}" /t "${settings[i + 2]}" /d "${settings[i + 3]}" \
            /f >/dev/null 2>&1; then
        echo "with-wine: could not set ${settings[i + 1]} to ${settings[i + 3]}" >&2
        exit 2
    fi
done
if [ ${#settings[@]} -gt 0 ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
fi

# Start the server pinned as well, before the command connects to it.
if [ ${#pin[@]} -gt 0 ]; then
    "${pin[@]}" wineserver -p >/dev/null 2>&1
fi

command=("$@")
if [ "${command[0]}" = wine ]; then
    command[0]=$loader
fi

"${pin[@]}" "${command[@]}"
status=$?
exit $status
