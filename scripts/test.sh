#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit
# tests of the portable rules (native), then the end-to-end tests of the real
# vantrel.exe under Wine. Exits non-zero on the first failure.
set -eu
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

echo "== Unit tests (native) =="
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

arch=$(bash scripts/wine-arch.sh)

echo "== Windows build (32-bit product) =="
if [ "$arch" = win32 ]; then
    cmake --preset win32 -DVANTREL_E2E=ON >/dev/null
else
    # Its end-to-end programs could not run here: the 64-bit build runs them.
    cmake --preset win32 -DVANTREL_E2E=OFF >/dev/null
fi
cmake --build --preset win32

if [ "$arch" != win32 ]; then
    echo "== Windows build (64-bit, for this machine's 64-bit-only Wine) =="
    cmake --preset "$arch" >/dev/null
    cmake --build --preset "$arch"
fi

echo "== End-to-end tests under Wine ($arch) =="
ctest --preset "$arch"
