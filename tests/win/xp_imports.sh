#!/usr/bin/env bash
# Windows XP SP3 refuses to start a program that imports a function it lacks ("entry point
# not found"). Every function each program imports is checked against XP's set:
#  - msvcrt.dll: XP's msvcrt.dll 7.0 is the runtime of Visual C++ 7.0, whose exports the
#    mingw-w64 import library of msvcr70.dll lists. What Vista's msvcrt.dll added came with
#    Visual C++ 8 (the *_s functions, the _l ones) and is in neither.
#  - every other DLL: the mingw-w64 headers must declare the function for XP
#    (_WIN32_WINNT=0x0501); their version guards leave out what came later. A reference to
#    each one is compiled with the cross compiler.
# Usage: xp_imports.sh CXX OBJDUMP NM PROGRAM...
set -euo pipefail

cxx=$1 objdump=$2 nm=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

msvcr70=$("$cxx" -print-file-name=libmsvcr70.a)
"$nm" "$msvcr70" 2>/dev/null | awk 'NF >= 2 && $(NF - 1) == "I" && $NF ~ /^__imp__/ { print substr($NF, 8) }' |
    sort -u >"$work/msvcrt-xp"
[ -s "$work/msvcrt-xp" ] || { echo "no exports read from $msvcr70" >&2; exit 1; }

# "DLL FUNCTION", one import a line (DLL names in lower case).
imports() {
    "$objdump" -p "$1" | awk '
        /^\tDLL Name:/ { dll = tolower($3); next }
        /^$/ { dll = "" }
        dll && /^\t[0-9a-f]+\t/ { print dll, $3 }' | sort -u
}

# The system functions of the list ("DLL FUNCTION" lines) that the headers do not declare
# for XP.
undeclared_for_xp() {
    {
        echo '#define _WIN32_WINNT 0x0501'
        echo '#define WINVER 0x0501'
        echo '#include <windows.h>'
        echo '#include <shellapi.h>'
        echo 'void references(void) {'
        awk '{ print "    (void)&" $2 ";" }' "$1"
        echo '}'
    } >"$work/references.c"
    local header_lines=5
    "$cxx" -x c -fsyntax-only "$work/references.c" 2>"$work/errors" && return 0
    grep -o '^[^:]*references\.c:[0-9]*:[0-9]*: error' "$work/errors" | cut -d: -f2 | sort -un |
        while read -r line; do sed -n "$((line - header_lines))p" "$1"; done
}

status=0
for program in "$@"; do
    imports "$program" >"$work/imports"
    [ -s "$work/imports" ] || { echo "$program: no imports read" >&2; exit 1; }
    awk '$1 != "msvcrt.dll"' "$work/imports" >"$work/system"
    {
        undeclared_for_xp "$work/system"
        awk '$1 == "msvcrt.dll" { print $2 }' "$work/imports" | comm -23 - "$work/msvcrt-xp" |
            sed 's/^/msvcrt.dll /'
    } >"$work/missing"
    if [ -s "$work/missing" ]; then
        echo "$program imports what Windows XP SP3 lacks:" >&2
        sed 's/^/  /' "$work/missing" >&2
        status=1
    else
        echo "$program: $(wc -l <"$work/imports") imports from" \
             "$(cut -d' ' -f1 "$work/imports" | sort -u | tr '\n' ' ')- all in Windows XP SP3"
    fi
done
exit $status
