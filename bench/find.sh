#!/usr/bin/env bash
# bash bench/find.sh [rounds]
# Times Find in a full message log natively (a release build of the portable
# rules in build/bench-native), on one CPU.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-native -j2 --target vantrel_find_bench >/dev/null
echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), native, pinned to CPU 0"
taskset -c 0 build/bench-native/vantrel_find_bench "${1:-5}"
