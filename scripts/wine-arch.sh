#!/usr/bin/env bash
# Prints the build preset whose Windows programs this machine's Wine can run:
# "win32" where 32-bit Wine runs, "win64" where the kernel runs only 64-bit
# programs. VANTREL_WINE_ARCH=win32|win64 forces the choice.
if [ -n "${VANTREL_WINE_ARCH:-}" ]; then
    echo "$VANTREL_WINE_ARCH"
elif [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
else
    echo win64
fi
