#!/usr/bin/env bash
# e2e_dpi_around.sh <build-dir> <command> [args...]
#
# Runs the screen scale suite's command once for each scale it covers: on a
# screen of 144 pixels per inch (150 %), then of 192 (200 %). Each run is a
# Wine session of its own with its own prefix (scripts/with-wine.sh reads
# VANTREL_WINE_DPI); VANTREL_E2E_DPI tells the suite the scale it is to find.
# Both runs always happen; the exit code is 0 only when both passed.

set -u

if [ $# -lt 2 ]; then
    echo "usage: $0 <build-dir> <command> [args...]" >&2
    exit 2
fi
shift  # the build folder: the command names it itself

status=0
for dpi in 144 192; do
    echo "=== e2e_dpi: screen at $dpi pixels per inch ==="
    VANTREL_WINE_DPI=$dpi VANTREL_E2E_DPI=$dpi "$@"
    result=$?
    if [ $result -ne 0 ]; then
        echo "=== e2e_dpi: failed at $dpi pixels per inch (exit code $result) ==="
        status=1
    fi
done
exit $status
