#!/usr/bin/env bash
# The resources of the programs, read back from the executables (icoutils' wrestool):
# version information for both; jingleconv.exe's manifest and icon.
# Usage: resources_test.sh VERSION JINGLECONV_EXE PDXSQL_EXE
set -euo pipefail

version=$1 jingleconv=$2 pdxsql=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "$*" >&2
    failures=$((failures + 1))
}

# The value of one string of a program's version information.
version_string() {  # PROGRAM KEY
    wrestool -x --raw --type=16 "$1" | iconv -c -f UTF-16LE -t UTF-8 | tr '\0' '\n' | awk -v key="$2" '
        found && $0 != "" { print; exit }
        substr($0, length($0) - length(key) + 1) == key { found = 1 }'
}

# The fixed file and product versions, as "a.b.c.d a.b.c.d".
fixed_versions() {  # PROGRAM
    wrestool -x --raw --type=16 "$1" | od -An -v -tu2 -w2 | awk '
        { word[NR] = $1 }
        END {
            for (i = 1; i < NR; i++) if (word[i] == 1213 && word[i + 1] == 65263) break  # 0xFEEF04BD
            print word[i + 5] "." word[i + 4] "." word[i + 7] "." word[i + 6], \
                  word[i + 9] "." word[i + 8] "." word[i + 11] "." word[i + 10]
        }'
}

while IFS='|' read -r program key expected; do
    actual=$(version_string "$program" "$key")
    [ "$actual" = "$expected" ] || fail "$(basename "$program") $key: expected «$expected», got «$actual»"
done <<EOF
$jingleconv|FileDescription|Конвертер баз отбивок Vorlangix
$jingleconv|ProductName|jingleconv
$jingleconv|FileVersion|$version
$jingleconv|ProductVersion|$version
$jingleconv|OriginalFilename|jingleconv.exe
$pdxsql|FileDescription|Запросы SQL к таблицам Paradox и их просмотр
$pdxsql|ProductName|jingleconv
$pdxsql|FileVersion|$version
$pdxsql|ProductVersion|$version
$pdxsql|OriginalFilename|pdxsql.exe
EOF
for program in "$jingleconv" "$pdxsql"; do
    [ "$(fixed_versions "$program")" = "$version.0 $version.0" ] ||
        fail "$(basename "$program"): fixed versions $(fixed_versions "$program"), expected $version.0"
done

manifest=$(wrestool -x --raw --type=24 --name=1 "$jingleconv")
grep -q '<dpiAware[^>]*>true</dpiAware>' <<<"$manifest" || fail "the manifest does not declare dpiAware"
[ "$(grep -c '<supportedOS ' <<<"$manifest")" = 5 ] || fail "the manifest does not name Vista to 10 as supported"
! grep -q '<trustInfo\|<requestedExecutionLevel' <<<"$manifest" ||
    fail "the manifest declares an execution level, which ends the VirtualStore redirection"

wrestool -x --type=14 --name=MAINICON -o "$work/icon.ico" "$jingleconv"
sizes=$(icotool -l "$work/icon.ico" | sed -E 's/.*--width=([0-9]+).*/\1/' | sort -n | tr '\n' ' ')
[ "$sizes" = "16 32 48 " ] || fail "the icon has the sizes «$sizes», expected 16, 32 and 48"

[ "$failures" -eq 0 ] || exit 1
echo "version information, manifest and icon as expected"
