#!/usr/bin/env bash
# check-imports.sh <build-dir>...
#
# Lists the DLL imports of every binary of the product in each build folder
# (vantrel.exe, VANTREL.DLL, the companions and their libraries) and fails
# unless each import is one of the system's known DLLs, which the system
# loads from its own folder whatever lies beside a program, the side-by-side
# common controls (comctl32, bound through the manifest), or VANTREL.DLL. Any
# other name would be looked up beside the program first, where a planted
# file of that name would be loaded in its place.
set -u

# The system's known DLLs (the KnownDLLs list of current Windows), and
# ntdll, which every process has from the start.
known="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
normaliz nsi ntdll ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32"
allowed=" $(echo $known) comctl32 vantrel "

if [ $# -lt 1 ]; then
    echo "usage: $0 <build-dir>..." >&2
    exit 2
fi

status=0
checked=0
for dir in "$@"; do
    for name in vantrel.exe VANTREL.DLL vantrel32.exe VANTREL32.DLL vantrel64.exe VANTREL64.DLL; do
        file="$dir/$name"
        [ -f "$file" ] || continue
        case $(od -An -t x2 -j $(( $(od -An -t u4 -j 60 -N 4 "$file" | tr -d ' ') + 4 )) -N 2 "$file" | tr -d ' ') in
            014c) objdump=i686-w64-mingw32-objdump ;;
            8664) objdump=x86_64-w64-mingw32-objdump ;;
            *) echo "check-imports: $file is no Windows program of either bitness" >&2; status=1; continue ;;
        esac
        imports=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr -d '\r')
        if [ -z "$imports" ]; then
            echo "check-imports: no imports found in $file" >&2
            status=1
            continue
        fi
        for import in $imports; do
            stem=$(echo "${import%.*}" | tr '[:upper:]' '[:lower:]')
            if [[ "$allowed" == *" $stem "* ]]; then continue; fi
            echo "check-imports: $file imports $import, which is not one of the system's known DLLs" >&2
            status=1
        done
        checked=$((checked + 1))
    done
done
if [ "$checked" = 0 ]; then
    echo "check-imports: no binaries of the product in $*" >&2
    exit 1
fi
[ "$status" = 0 ] && echo "check-imports: $checked binaries import only the system's known DLLs, comctl32 and VANTREL.DLL"
exit $status
