#!/usr/bin/env bash
# The real program's windows as the user sees them under Xvfb with a notification area
# (trayer): the title bars say exactly what they should, the help text stands line by line
# in its memo, a message that says why the program ends stays until it is closed, and a
# second start on the same data folder brings the running strip back instead of counting.
# Exits 77 (skipped) when the tools or the X server are missing.
# Usage: windows_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

source "$(dirname "$0")/desktop-lib.sh"

require_tools Xvfb trayer xdotool xwininfo xprop import python3
program_and_defaults "$@"
bound=$(patient 120)
start_work TERM 30
start_xvfb 1024x768x24
start_panel --widthtype request

top=701
titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
# The window's name as the X server holds it, both the old and the EWMH property.
names() { xprop -id "$1" WM_NAME _NET_WM_NAME 2>/dev/null | sed 's/^[A-Z_]*([A-Z0-9_]*) = //'; }

# seed NAME [FILE=LINES...]: the data folder $work/NAME, as the tests below start from it.
seed() {
    data="$work/$1"
    shift
    seed_data "$data" "$defaults" remain.dat=012:34:56 status.dat=Off "$@"
}
start() { run_program "$1" ASAN_OPTIONS=detect_leaks=0; }

# --- Titles and the help text, in English ------------------------------------------------
seed en
start "$work/en"
wait_until 30 strip_shown || fail "the strip was not shown"
xdotool mousemove --sync 60 $((top + 12)) click 1
wait_until 5 titled ' Settings - Surftally' >/dev/null || fail "no window named ' Settings - Surftally'"
settings=$(titled ' Settings - Surftally')
[ "$(names "$settings")" = '" Settings - Surftally"
" Settings - Surftally"' ] ||
    fail "the settings' title bar reads: $(names "$settings")"
echo "ok: the settings' title bar reads exactly \" Settings - Surftally\""

# "?" opens the help window, centred on the screen.
read -r sx sy <<<"$(xwininfo -id "$settings" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')"
xdotool mousemove --sync $((sx + 24)) $((sy + 319)) click 1
wait_until 5 titled ' Help - Legend' >/dev/null || fail "'?' did not open ' Help - Legend'"
help=$(titled ' Help - Legend')
[ "$(names "$help")" = '" Help - Legend"
" Help - Legend"' ] || fail "the help's title bar reads: $(names "$help")"
echo "ok: the help's title bar reads exactly \" Help - Legend\""

# The help text line by line: the rows of text in the memo end where the lines end. Wrapped,
# the third line's last word would stand on a row of its own and the eighth row would be
# the short "RED !".
sleep 0.5
read -r hx hy <<<"$(xwininfo -id "$help" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')"
import -window root -crop "360x150+$((hx + 12))+$((hy + 11))" -depth 8 gray:"$work/memo.gray" ||
    fail "no screenshot of the memo"
import -window root "$work/help.png"
# The right end of each row of text; runs of dark pixel rows closer than 4 pixels (the two
# bars of "=", a descender) belong to one row.
widths=$(python3 - "$work/memo.gray" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
w, h = 360, 150
rows, last = [], -10
for y in range(h):
    dark = [x for x in range(w) if data[y * w + x] < 128]
    if not dark:
        continue
    if y - last > 3:
        rows.append(0)
    rows[-1] = max(rows[-1], dark[-1])
    last = y
print(" ".join(map(str, rows)))
PY
)
read -r -a row <<<"$widths"
[ "${#row[@]}" -ge 8 ] || fail "the memo shows ${#row[@]} rows of text: $widths"
[ "${row[2]}" -gt 250 ] && [ "${row[3]}" -lt 200 ] && [ "${row[7]}" -gt 150 ] ||
    fail "the help text wraps (right ends of its rows: $widths; screenshot $work/help.png)"
echo "ok: the help text stands line by line in its memo (row ends: ${row[*]:0:8})"

# Close Application ends the program.
xdotool mousemove --sync $((sx + 88)) $((sy + 367)) click 1
wait_until 5 gone "$program_pid" || fail "Close Application did not end the program"
echo "ok: Close Application ends the program"

# --- The Serbian settings' title ---------------------------------------------------------
seed sr srpski.dat=
start "$work/sr"
wait_until 30 strip_shown || fail "the Serbian strip was not shown"
xdotool mousemove --sync 60 $((top + 12)) click 1
wait_until 5 titled ' Podesavanje - Surftally  ' >/dev/null ||
    fail "no window named ' Podesavanje - Surftally  '"
serbian=$(titled ' Podesavanje - Surftally  ')
[ "$(names "$serbian")" = '" Podesavanje - Surftally  "
" Podesavanje - Surftally  "' ] ||
    fail "the Serbian settings' title bar reads: $(names "$serbian")"
echo "ok: the Serbian settings' title bar reads exactly \" Podesavanje - Surftally  \""
kill "$program_pid"
wait "$program_pid" 2>/dev/null

# --- A second start on the same data folder ---------------------------------------------
seed twice
start "$work/twice"
first_pid=$program_pid
wait_until 30 strip_shown || fail "the strip was not shown"
wait_until 5 icon_drawn || fail "the notification area shows no icon"
click_icon
wait_until 3 eval '! strip_shown' || fail "a click on the icon did not hide the strip"
start "$work/twice"
wait_until 10 gone "$program_pid" || fail "the second start is still running"
wait "$program_pid"
[ $? -eq 0 ] || fail "the second start did not end cleanly"
wait_until 3 strip_shown || fail "the second start did not bring the hidden strip back"
strips=$(xdotool search --onlyvisible --name '^Surftally$' | wc -l)
[ "$strips" -eq 1 ] || fail "$strips strips run on one data folder"
kill -0 "$first_pid" 2>/dev/null || fail "the first program ended"
echo "ok: a second start brings the running strip back and ends, counting nothing"
# A killed program never blocks the next start.
kill -9 "$(pgrep -P "$first_pid")"
wait "$first_pid" 2>/dev/null
wait_until 3 eval '! strip_shown' || fail "the killed strip stays"
start "$work/twice"
wait_until 30 strip_shown || fail "a start after a killed program showed no strip"
kill -0 "$program_pid" 2>/dev/null || fail "a start after a killed program ended"
kill "$program_pid"
wait "$program_pid" 2>/dev/null
echo "ok: a killed program does not block the next start"

# --- The reason the program ends stays on screen -----------------------------------------
seed missing
rm "$work/missing/remain.dat"
start "$work/missing"
box_shown() { xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null | while read -r w; do
    [ "$(xwininfo -id "$w" | sed -n 's/.*Width: *//p')" != 120 ] && echo "$w"; done | grep -q .; }
wait_until 30 box_shown || fail "no message box at a start without remain.dat"
sleep 3 # the first ticks have closed the strip by now
kill -0 "$program_pid" 2>/dev/null || fail "the program ended and took its message with it"
box_shown || fail "the message box went away by itself"
box=$(xdotool search --onlyvisible --name '^Surftally$' | while read -r w; do
    [ "$(xwininfo -id "$w" | sed -n 's/.*Width: *//p')" != 120 ] && echo "$w"; done | head -n 1)
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key Return
wait_until 5 gone "$program_pid" || fail "closing the message did not end the program"
echo "ok: the message outlives the strip and the program ends once it is closed"

echo "PASSED"
