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

echo "== Windows build (32-bit product, with its 64-bit companion) =="
if [ "$arch" = win32 ]; then
    # The cross-bitness suite runs too: it needs the 64-bit vantrel.exe and
    # fixture, which the same build makes in other-bitness/, and a 64-bit Wine
    # session that runs 32-bit programs beside them (made by the suite's test).
    cmake --preset win32 -DVANTREL_E2E=ON -DVANTREL_CROSS_E2E=ON >/dev/null
else
    # Its end-to-end programs could not run here: the 64-bit build runs them.
    cmake --preset win32 -DVANTREL_E2E=OFF -DVANTREL_CROSS_E2E=OFF >/dev/null
fi
cmake --build --preset win32
# Every binary of the product imports only DLLs the system loads from its own folder.
bash scripts/check-imports.sh build/win32

if [ "$arch" != win32 ]; then
    echo "== Windows build (64-bit, for this machine's 64-bit-only Wine) =="
    # No 32-bit program runs here: the cross-bitness suite reports itself
    # skipped, and the 32-bit vantrel.exe and fixture it would need are not built.
    cmake --preset "$arch" -DVANTREL_CROSS_E2E=OFF >/dev/null
    cmake --build --preset "$arch"
    bash scripts/check-imports.sh "build/$arch"
fi

echo "== End-to-end tests under Wine ($arch) =="
ctest --preset "$arch"
