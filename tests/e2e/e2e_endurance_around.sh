#!/usr/bin/env bash
# e2e_endurance_around.sh <build-dir> <command> [args...]
#
# Runs the endurance suite's command with two tiny file systems (tmpfs, 16 KiB),
# which Wine programs reach through drive Z:
#   - <build-dir>/e2e-full-fs, empty, so that a log saved there runs out of
#     space: VANTREL_FULL_FS names it;
#   - <build-dir>/e2e-read-only, mounted read-only with one read-only file
#     holding "kept" CR LF: VANTREL_READ_ONLY_FILE names the file. A read-only
#     file elsewhere is no refusal when Wine runs as root (the attribute
#     becomes file modes, which root passes), a read-only file system is.
# Mounting needs root; elsewhere VANTREL_FULL_FS_SKIP says why, and the suite
# skips what needs them. Both are unmounted afterwards, also on failure or
# interruption. The exit code is the command's.

set -u

if [ $# -lt 2 ]; then
    echo "usage: $0 <build-dir> <command> [args...]" >&2
    exit 2
fi

build_dir=$1
shift
full_dir="$build_dir/e2e-full-fs"
read_only_dir="$build_dir/e2e-read-only"
mounted=()

unmount() {
    umount "$1" 2>/dev/null || umount -l "$1" 2>/dev/null ||
        echo "e2e_endurance_around: could not unmount $1" >&2
}

cleanup() {
    for dir in "${mounted[@]}"; do
        unmount "$dir"
    done
    mounted=()
}

trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

for dir in "$full_dir" "$read_only_dir"; do
    mkdir -p "$dir"
    # A run that was killed may have left its file system behind.
    if mountpoint -q "$dir" 2>/dev/null; then
        unmount "$dir"
    fi
done

if [ "$(id -u)" != 0 ]; then
    export VANTREL_FULL_FS_SKIP="not run as root: no small file system could be mounted"
elif ! error=$(mount -t tmpfs -o size=16k,mode=0777 tmpfs "$full_dir" 2>&1); then
    export VANTREL_FULL_FS_SKIP="mount -t tmpfs failed: $error"
else
    mounted+=("$full_dir")
    export VANTREL_FULL_FS="$full_dir"
    if mount -t tmpfs -o size=16k tmpfs "$read_only_dir" 2>/dev/null; then
        mounted+=("$read_only_dir")
        printf 'kept\r\n' > "$read_only_dir/read-only.txt" &&
            chmod 0444 "$read_only_dir/read-only.txt" &&
            mount -o remount,ro "$read_only_dir" &&
            export VANTREL_READ_ONLY_FILE="$read_only_dir/read-only.txt"
    fi
fi

"$@"
exit $?
