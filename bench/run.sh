#!/usr/bin/env bash
# bash bench/run.sh [build-dir] [-- vantrel_bench options]
#   e.g. bash bench/run.sh -- --rounds 3
#
# Builds vantrel.exe and the benchmarks for the Wine that runs on this machine
# (scripts/wine-arch.sh) and runs them in a private Wine session pinned to one
# CPU, so that the measured path and its limit share the same conditions.
# Prints the machine, then the figures.
set -eu
cd "$(dirname "$0")/.."
source_dir=$(pwd)
arch=$(bash scripts/wine-arch.sh)
if [ "$arch" = win32 ]; then toolchain=cmake/mingw-i686.cmake; else toolchain=cmake/mingw-x86_64.cmake; fi
# The first argument is the build folder unless it is the "--" before the
# options (or an option itself).
build_dir=$source_dir/build/bench-$arch
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
    build_dir=$1
    shift
fi
[ "${1:-}" = "--" ] && shift

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$source_dir/$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DVANTREL_E2E=ON -DVANTREL_CROSS_E2E=ON >/dev/null
cmake --build "$build_dir" -j2 --target vantrel_bench vantrel_companion other_bitness >/dev/null

echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),"\
     "$(/usr/lib/wine/wine64 --version 2>/dev/null || wine --version), $arch build, pinned to CPU 0"
VANTREL_PIN_CPU=1 bash scripts/with-wine.sh "$build_dir" wine "$build_dir/bench/vantrel_bench.exe" "$@"

# Catching a 64-bit program with the 32-bit Vantrel needs a 64-bit session,
# where both kinds run side by side: a second session of its own runs that
# measure alone (--other-bitness N messages, default 20000; 0 skips it).
other=20000
previous=""
for option in "$@"; do
    [ "$previous" = "--other-bitness" ] && other=$option
    previous=$option
done
if [ "$arch" = win32 ] && [ "$other" != 0 ] && [ -x /usr/lib/wine/wine64 ]; then
    mkdir -p "$build_dir/cross-bitness"
    VANTREL_PIN_CPU=1 VANTREL_WINE_ARCH=win64 bash scripts/with-wine.sh "$build_dir/cross-bitness" \
        wine "$build_dir/bench/vantrel_bench.exe" "$@" --tree 0 --catch 0 --copy 0 --hung 0 --companion 0 --program-side 0 --details 0 --watch 0 \
        --other-bitness "$other"
fi
