#!/usr/bin/env bash
# bash bench/run.sh [build-dir] [-- vantrel_bench options]
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
build_dir=$source_dir/build/bench-$arch
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
    build_dir=$1
    shift
fi
[ "${1:-}" = "--" ] && shift

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$source_dir/$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DVANTREL_E2E=ON >/dev/null
cmake --build "$build_dir" -j2 --target vantrel_bench >/dev/null

echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),"\
     "$(/usr/lib/wine/wine64 --version 2>/dev/null || wine --version), $arch build, pinned to CPU 0"
VANTREL_PIN_CPU=1 bash scripts/with-wine.sh "$build_dir" wine "$build_dir/bench/vantrel_bench.exe" "$@"
