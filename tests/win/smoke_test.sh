#!/usr/bin/env bash
# The real jingleconv.exe under Wine, as a user runs it: copied into a folder with the two
# source tables, started, its button clicked, the completion box answered with Enter; then
# the eight tables must hold exactly their category's rows.
# Usage: smoke_test.sh JINGLECONV_EXE PDXSQL_EXE SCREENSHOT_FOLDER
set -euo pipefail

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

program=$1 pdxsql=$2 shots=$3
mkdir -p "$shots"
folder=$(mktemp -d /tmp/jingleconv-smoke-XXXXXX)
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    rm -rf "$folder"
}
trap cleanup EXIT
cd "$folder"

sql() { wine "$pdxsql" -e "$1" >/dev/null; }

# Each category a different number of rows, and rows of categories no target takes.
sql 'CREATE TABLE "AdvBeats.db" (ID AUTOINC, FKey INTEGER, Name CHAR(40), Length INTEGER)'
sql 'CREATE TABLE "Beats.db" (ID AUTOINC, FKey INTEGER, Name CHAR(40), Length INTEGER)'
insert_rows() {  # TABLE KEY COUNT
    local values=()
    for ((i = 1; i <= $3; i++)); do values+=("($2, 'Отбивка $2-$i', $((i * 1000)))"); done
    sql "INSERT INTO \"$1.db\" (FKey, Name, Length) VALUES $(IFS=,; echo "${values[*]}")"
}
declare -A expected=(
    [AdvStarts]="0 1" [AdvEnds]="1 2" [AdvFrees]="2 3" [AdvAdds]="8 4"
    [Jingles]="5 1" [InfoRolls]="4 2" [Effects]="6 3" [Underlays]="7 4"
)
for key_count in "0 1" "1 2" "2 3" "8 4" "3 2" "5 1"; do insert_rows AdvBeats $key_count; done
for key_count in "5 1" "4 2" "6 3" "7 4" "9 1" "0 2"; do insert_rows Beats $key_count; done

cp "$program" "$folder/jingleconv.exe"
wine "$folder/jingleconv.exe" &
app_pid=$!

window=$(timeout 60 xdotool search --sync --name '^Конвертировать базы$' | head -1)
sleep 1
import -window "$window" "$shots/win-window.png"

# The button: the middle of the client area's width, 74 of its 143 rows down (at 96 dpi);
# the client area ends a frame's width above the window's bottom edge.
eval "$(xdotool getwindowgeometry --shell "$window")"
frame=3
xdotool mousemove --window "$window" $((WIDTH / 2)) $((HEIGHT - frame - 143 + 74)) click 1

box=$(timeout 60 xdotool search --sync --name '^Information$' | head -1)
sleep 1
import -window "$box" "$shots/win-done.png"
xdotool windowfocus --sync "$box" key Return
for ((i = 0; i < 100; i++)); do
    xdotool search --name '^Information$' >/dev/null || break
    sleep 0.1
done
if xdotool search --name '^Information$' >/dev/null; then
    echo "the completion box did not close on Enter" >&2
    exit 1
fi
import -window "$window" "$shots/win-after.png"

# Closing the window ends the program.
xdotool windowfocus --sync "$window" key alt+F4
for ((i = 0; i < 100; i++)); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
    echo "jingleconv.exe did not end when its window was closed" >&2
    exit 1
fi
app_pid=

# The rows of a table as "FKey" lines, from pdxsql's listing.
keys_of() {
    wine "$pdxsql" "$1.db" | tr -d '\r' | awk -F'\t' '
        seen && /^[0-9]/ { print $col }
        /^Записи:/ { getline; for (i = 1; i <= NF; i++) if ($i == "FKey") col = i; seen = 1 }'
}
status=0
for target in "${!expected[@]}"; do
    read -r key count <<<"${expected[$target]}"
    got=$(keys_of "$target" | sort | uniq -c | awk '{print $2 " " $1}')
    if [ "$got" != "$key $count" ]; then
        echo "$target: expected $count rows of FKey $key, got: ${got:-nothing}" >&2
        status=1
    fi
done
[ "$(keys_of AdvBeats | wc -l)" -eq 13 ] || { echo "AdvBeats.db changed" >&2; status=1; }
[ "$(keys_of Beats | wc -l)" -eq 13 ] || { echo "Beats.db changed" >&2; status=1; }
[ $status -eq 0 ] && echo "8 tables hold exactly their categories' rows"
exit $status
