#!/usr/bin/env bash
# bash scripts/package.sh
#
# Builds the product in build/package (the 32-bit vantrel.exe and VANTREL.DLL
# with the 64-bit companion vantrel64.exe and VANTREL64.DLL, one build
# command) and writes build/vantrel-<version>-windows.zip holding those four
# binaries, README.md and LICENSE.txt. The version is the ProductVersion of
# the version resource resources/vantrel.rc, with trailing ".0" parts dropped
# down to two (2.2.0.0 gives 2.2). Prints the archive's path.
set -eu
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

version=$(sed -n 's/^ *VALUE "ProductVersion", *"\([0-9.]*\)".*/\1/p' resources/vantrel.rc)
if [ -z "$version" ]; then
    echo "package: no ProductVersion in resources/vantrel.rc" >&2
    exit 1
fi
while [ "$(echo "$version" | tr -cd . | wc -c)" -gt 1 ] && [ "${version%.0}" != "$version" ]; do
    version=${version%.0}
done

build=build/package
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DVANTREL_E2E=OFF -DVANTREL_CROSS_E2E=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null

archive=build/vantrel-$version-windows.zip
staging=$build/zip
rm -rf "$staging" "$archive"
mkdir -p "$staging"
for file in "$build/vantrel.exe" "$build/VANTREL.DLL" "$build/vantrel64.exe" "$build/VANTREL64.DLL" \
            README.md LICENSE.txt; do
    if [ ! -f "$file" ]; then
        echo "package: $file was not built" >&2
        exit 1
    fi
    cp "$file" "$staging/"
done
(cd "$staging" && zip -q -X "../../$(basename "$archive")" vantrel.exe VANTREL.DLL vantrel64.exe VANTREL64.DLL \
    README.md LICENSE.txt)
echo "$archive"
