#!/usr/bin/env bash
# The real jingleconv.exe under Wine, as a user runs it: copied into a folder with the two
# source tables, started, its button clicked, the completion box answered with Enter; then
# the eight tables must hold exactly their category's rows. A second run over the existing
# tables answers the "replace?" boxes with Escape (keep) and Enter (replace); a third, with
# a damaged source, must show the error box titled with the program's name. All of it
# three times, with Wine reporting Windows XP, 7 and 10 to the programs.
# Usage: smoke_test.sh JINGLECONV_EXE PDXSQL_EXE SCREENSHOT_FOLDER
set -euo pipefail

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

program=$1 pdxsql=$2 shots_root=$3
folder=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$folder" ] && rm -rf "$folder"
    # Back to the prefix's own choice of version.
    wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 || true
}
trap cleanup EXIT

fail() {
    echo "$*" >&2
    exit 1
}

sql() { wine "$pdxsql" -e "$1" >/dev/null; }

insert_rows() {  # TABLE KEY COUNT
    local values=()
    for ((i = 1; i <= $3; i++)); do values+=("($2, 'Отбивка $2-$i', $((i * 1000)))"); done
    sql "INSERT INTO \"$1.db\" (FKey, Name, Length) VALUES $(IFS=,; echo "${values[*]}")"
}

# The FKey of each row of a table, one a line, from pdxsql's listing.
keys_of() {
    wine "$pdxsql" "$1.db" | tr -d '\r' | awk -F'\t' '
        seen && /^[0-9]/ { print $col }
        /^Записи:/ { getline; for (i = 1; i <= NF; i++) if ($i == "FKey") col = i; seen = 1 }'
}

# "KEY COUNT" lines: how many rows of each category a table has.
census() { keys_of "$1" | sort -n | uniq -c | awk '{ print $2 " " $1 }'; }

gone() { ! xwininfo -id "$1" >/dev/null 2>&1; }

wait_until() {  # COMMAND...: up to ten seconds
    for ((i = 0; i < 100; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# answer_box TITLE KEY [SCREENSHOT]: the next box of that title, answered from the keyboard.
answer_box() {
    local box
    box=$(timeout 60 xdotool search --sync --name "^$1\$" | head -1) || fail "no \"$1\" box appeared"
    sleep 0.5
    [ -n "${3:-}" ] && import -window "$box" "$shots/$3"
    xdotool windowfocus --sync "$box" key "$2"
    wait_until gone "$box" || fail "the \"$1\" box did not close on $2"
}

start_program() {
    wine "$folder/jingleconv.exe" &
    app_pid=$!
    window=$(timeout 60 xdotool search --sync --name '^Конвертировать базы$' | head -1) ||
        fail "the window did not appear"
    sleep 0.5
}

# The button: the middle of the client area's width, 74 of its 143 rows down (at 96 dpi);
# the client area ends a frame's width above the window's bottom edge.
click_button() {
    local frame=3
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" $((WIDTH / 2)) $((HEIGHT - frame - 143 + 74)) click 1
}

# Closing the window ends the program.
close_program() {
    xdotool windowfocus --sync "$window" key alt+F4
    wait_until eval '! kill -0 "$app_pid" 2>/dev/null' || fail "jingleconv.exe did not end when its window was closed"
    app_pid=
}

# The title bar shows the program's icon: the green of its check mark at the caption's left.
caption_shows_icon() {  # SCREENSHOT
    convert "$1" -crop 24x24+0+0 +repage -format %c histogram:info:- | grep -qi '#00FF00'
}

# report_windows VERSION NUMBER: Wine tells the programs they run on that Windows version.
report_windows() {
    wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1
    local shown
    shown=$(wine cmd /c ver | tr -d '\r')
    [[ "$shown" == *" $2."* ]] || fail "Wine does not report $1 ($2): $shown"
    echo "$1: Wine reports ${shown//$'\n'/}"
}

# "KEY COUNT" lines each target must hold, and the sources' census before the runs.
declare -A expected
sources_before=
check_targets() {
    for target in "${!expected[@]}"; do
        [ "$(census "$target")" = "${expected[$target]}" ] ||
            fail "$target: expected FKey/rows ${expected[$target]}, got: $(census "$target" | tr '\n' ' ')"
    done
    [ "$(census AdvBeats)/$(census Beats)" = "$sources_before" ] || fail "a source table changed"
}

# The three runs in a new folder, on the Windows version Wine reports.
runs_on() {  # VERSION NUMBER
    report_windows "$1" "$2"
    shots="$shots_root/$1"
    mkdir -p "$shots"
    folder=$(mktemp -d /tmp/jingleconv-smoke-XXXXXX)
    cd "$folder"

    # Each category a different number of rows, and rows of categories no target takes.
    sql 'CREATE TABLE "AdvBeats.db" (ID AUTOINC, FKey INTEGER, Name CHAR(40), Length INTEGER)'
    sql 'CREATE TABLE "Beats.db" (ID AUTOINC, FKey INTEGER, Name CHAR(40), Length INTEGER)'
    for key_count in "0 1" "1 2" "2 3" "8 4" "3 2" "5 1"; do insert_rows AdvBeats $key_count; done
    for key_count in "5 1" "4 2" "6 3" "7 4" "9 1" "0 2"; do insert_rows Beats $key_count; done
    sources_before="$(census AdvBeats)/$(census Beats)"
    cp "$program" "$folder/jingleconv.exe"

    expected=(
        [AdvStarts]="0 1" [AdvEnds]="1 2" [AdvFrees]="2 3" [AdvAdds]="8 4"
        [Jingles]="5 1" [InfoRolls]="4 2" [Effects]="6 3" [Underlays]="7 4"
    )

    # First run: no targets yet, so no questions.
    start_program
    import -window "$window" "$shots/win-window.png"
    caption_shows_icon "$shots/win-window.png" || fail "the title bar does not show the program's icon"
    click_button
    answer_box Information Return win-done.png
    import -window "$window" "$shots/win-after.png"
    close_program
    check_targets
    echo "first run: 8 tables hold exactly their categories' rows"

    # pdxsql.exe checks the conversion as a user would; its CSV keeps CR LF as it is.
    [ "$(wine "$pdxsql" -e 'SELECT COUNT(*) FROM "Jingles.db" WHERE FKey<>5' | tr -d '\r')" = 0 ] ||
        fail "pdxsql.exe counted rows of another category in Jingles"
    cmp <(wine "$pdxsql" --csv -e 'SELECT FKey, Name FROM Jingles') <(printf 'FKey,Name\r\n5,Отбивка 5-1\r\n') ||
        fail "pdxsql.exe --csv wrote other bytes"
    wine "$pdxsql" --help | grep -- --csv >/dev/null || fail "pdxsql.exe --help failed"
    echo "pdxsql.exe: SELECT COUNT(*) and --csv"

    # Second run: stray rows in two targets; Escape keeps the first, Enter replaces the second.
    insert_rows AdvStarts 3 1
    insert_rows AdvEnds 3 1
    start_program
    click_button
    answer_box Confirm Escape win-confirm.png
    answer_box Confirm Return
    for ((n = 3; n <= 8; n++)); do answer_box Confirm Escape; done
    answer_box Information Return
    close_program
    [ "$(census AdvStarts)" = "$(printf '0 1\n3 1')" ] || fail "AdvStarts was replaced although Escape answered No"
    expected[AdvStarts]="$(printf '0 1\n3 1')"
    check_targets
    echo "second run: Escape kept a table, Enter replaced one"

    # Third run: Beats.db damaged. AdvBeats' targets are made, then the error box answers.
    for target in "${!expected[@]}"; do rm -f "$target.db"; done
    expected[AdvStarts]="0 1"
    head -c 3000 /dev/urandom >Beats.db
    start_program
    click_button
    answer_box jingleconv Return win-error.png
    close_program
    for target in AdvStarts AdvEnds AdvFrees AdvAdds; do
        [ "$(census "$target")" = "${expected[$target]}" ] || fail "$target: wrong rows after the failed run"
    done
    echo "third run: a damaged source ends in the error box"

    cd /
    rm -rf "$folder"
    folder=
}

for version in "winxp 5" "win7 6" "win10 10"; do
    runs_on $version
    echo "${version% *}: the three runs as expected"
done
