#!/usr/bin/env bash
# screenshot.sh <build-dir> <png>
#
# Runs inside a Wine session (scripts/with-wine.sh), for scripts/run.sh: opens
# the test fixture's windows titled in other scripts (its group "scripts"),
# then Vantrel, whose first tree lists them, and saves a picture of Vantrel's
# main window, caption and frame included, to <png>.
set -u
build=$(cd "$1" && pwd)
shot=$2

fixture="$build/tests/e2e/fixture/vantrel_fixture.exe"
handles="$build/screenshot-fixture.txt"
rm -f "$handles"
if [ -f "$fixture" ]; then
    # It writes the line "ready" once its windows exist.
    wine "$fixture" --out "Z:$handles" --only scripts &
    for _ in $(seq 1 60); do
        grep -qx ready "$handles" 2>/dev/null && break
        sleep 1
    done
fi

wine "$build/vantrel.exe" &
# The main window, not the hidden application window of the same title.
main=""
for _ in $(seq 1 60); do
    sleep 1
    main=$(xwininfo -root -tree 2>/dev/null | awk '/"Vantrel": \(/ && !/ 1x1\+/ { print $1; exit }')
    [ -n "$main" ] && break
done
# The first tree is built when the main window appears; let it paint.
sleep 3
if [ -n "$main" ]; then
    geometry=$(xwininfo -id "$main" | awk '
        /Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 }
        END { printf "%dx%d+%d+%d", w, h, x, y }')
    import -window root -crop "$geometry" +repage "$shot"
else
    echo "screenshot: Vantrel's main window did not appear; the whole screen instead" >&2
    import -window root "$shot"
fi
echo "run: screenshot saved to $shot"
