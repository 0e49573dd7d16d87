#!/usr/bin/env bash
# The history of on-line spells in the installed Windows program, under Wine on Xvfb with
# trayer: a minute on-line leaves its spell in history.dat after the spells kept from before;
# the History window opens from the settings and shows today's bar in the charged colour, the
# totals and the forecast, in English and in Serbian. Wine reports the LAN as connected, so the
# program counts on-line from its start. Exits 77 (skipped) when the tools or the X server are
# missing.
# Usage: wine_history_e2e.sh SURFTALLY_SETUP_EXE [SCREENSHOT_FOLDER]
set -uo pipefail

setup=${1:?usage: wine_history_e2e.sh SURFTALLY_SETUP_EXE [SCREENSHOT_FOLDER]}
shots=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-program-lib.sh"

wine_program_test "$setup" awk

start_wine_desktop 400

folder="$WINEPREFIX/drive_c/Program Files/Surftally"
history="$folder/history.dat"

titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(titled "$1")" ]; }
# client_origin WINDOW WIDTH HEIGHT: "X Y" of the client area (WIDTH x HEIGHT) of a dialog,
# which has an equal border left, right and below, and its title bar above.
client_origin() {
    local x y w h border
    read -r x y w h <<<"$(window_geometry "$1")" || fail "window $1 is gone"
    border=$(((w - $2) / 2))
    echo "$((x + border)) $((y + h - $3 - border))"
}
open_settings() {
    local x y _
    read -r x y _ <<<"$(window_geometry "$(strip_window)")"
    xdotool mousemove --sync $((x + 60)) $((y + 12)) click 1
    wait_until 5 shown "$1" || fail "a click on the strip did not open \"$1\""
    sleep 0.3
}
# click_settings TITLE X Y: a click at a point of the settings' 178 x 381 client area.
click_settings() {
    local cx cy
    read -r cx cy <<<"$(client_origin "$(titled "$1")" 178 381)"
    xdotool mousemove --sync $((cx + $2)) $((cy + $3)) click 1
}
# The colour of selected items in the prefix ("R G B"), which the chart's charged time is
# drawn in, as #RRGGBB.
charged_colour() {
    local rgb
    rgb=$(timeout 60 wine reg query 'HKCU\Control Panel\Colors' /v Hilight 2>/dev/null | tr -d '\r' |
        sed -n 's/.*REG_SZ *//p')
    [ -n "$rgb" ] || rgb="0 120 215"
    # shellcheck disable=SC2086
    printf '#%02X%02X%02X\n' $rgb
}
# count_colour GEOMETRY COLOUR: how many pixels of the screen's GEOMETRY have COLOUR.
count_colour() { import -window root -crop "$1" -depth 8 txt:- 2>/dev/null | grep -c "$2"; }
# check_history TITLE WHAT: the history window is shown, with today's bar and the four texts.
check_history() {
    local window cx cy area count label
    wait_until 10 shown "$1" || fail "$2: the History button did not open \"$1\""
    window=$(titled "$1")
    sleep 1 # drawn
    read -r cx cy <<<"$(client_origin "$window" 400 276)"
    # Today's bar: at the right end of the chart (8, 8, 384 x 176), standing on its axis
    # (160 down); a minute or two on an axis of an hour is two pixels high or more.
    area="12x12+$((cx + 8 + 384 - 14))+$((cy + 8 + 148))"
    count=$(count_colour "$area" "$charged")
    [ "$count" -ge 6 ] || fail "$2: today's bar shows $count pixels of the charged colour $charged"
    # The totals (today, 7 days, month) and the forecast, each a line of black text.
    for label in 192 208 224 242; do
        count=$(count_colour "188x14+$((cx + 8))+$((cy + label))" '#000000')
        [ "$count" -ge 40 ] || fail "$2: the line at $label shows no text ($count pixels)"
    done
    [ -z "$shots" ] || { mkdir -p "$shots" && import -window root "$shots/history-$3.png"; }
    echo "ok: $2: \"$1\" opens from the settings with today's bar, the totals and the forecast"
}

timeout 120 wine "$setup" /S >>"$work/setup.log" 2>&1 ||
    fail "the silent install failed: $(tail -n 3 "$work/setup.log")"
[ -n "$(shortcut Surftally.lnk)" ] || fail "no Start-menu shortcut"
charged=$(charged_colour)

# A balance above the minimum, and a short spell of three days ago that must stay first.
printf '010:00:00\r\n' >"$folder/remain.dat"
old="$(date -d '3 days ago' +%F) 10:00:00;$(date -d '3 days ago' +%F) 10:00:45;Modem;30;45"
printf '%s\r\n' "$old" >"$history"

# --- A minute on-line is a spell in history.dat ----------------------------------------------
start_from_menu
# spelled: history.dat holds the old spell, then one of today through the LAN with a minute
# or more on-line, all of it charged but for the second or so the first run may round.
spelled() {
    awk -v old="$old" -v today="$(date +%F)" '
        { sub(/\r$/, "") }
        NR == 1 { ok = ($0 == old); next }
        NR == 2 {
            split($0, f, ";")
            ok = ok && substr(f[1], 1, 10) == today && f[3] == "LAN Internet" &&
                 f[5] >= 60 && f[4] >= f[5] - 2 && f[4] <= f[5]
            spell = 1
        }
        END { exit !(ok && spell && NR == 2) }' "$history" 2>/dev/null
}
lines_ended() { [ "$(grep -c $'\r$' "$history")" = "$(wc -l <"$history")" ]; }
wait_until 100 spelled ||
    fail "a minute on-line left history.dat holding: $(tr '\r' '|' <"$history" | tr '\n' ' ')"
lines_ended || fail "history.dat has a line not ended by CR LF"
echo "ok: a minute on-line is a spell in history.dat: $(sed -n 2p "$history" | tr -d '\r')"

# --- The History window, from the settings -----------------------------------------------
open_settings " Settings - Surftally"
click_settings " Settings - Surftally" 88 319 # History, between "?" and "OK"
check_history " History - Surftally" English en
# Its button closes it; the settings stay.
read -r cx cy <<<"$(client_origin "$(titled " History - Surftally")" 400 276)"
xdotool mousemove --sync $((cx + 355)) $((cy + 260)) click 1
wait_until 5 eval '! shown " History - Surftally"' || fail "Close did not close the History window"
shown " Settings - Surftally" || fail "closing the History window closed the settings"
echo "ok: Close closes the History window"

# "Close Application" ends the spell: its line is written and stays the second.
click_settings " Settings - Surftally" 88 367
wait_until 10 eval '! program_running' || fail "\"Close Application\" did not end the program"
spelled || fail "the end of the program left history.dat holding: $(tr '\r' '|' <"$history" | tr '\n' ' ')"
[ "$(error_boxes)" = 0 ] || fail "an error was reported"
echo "ok: the program's end writes the spell in progress in its own line"

# --- In Serbian ----------------------------------------------------------------------------
: >"$folder/srpski.dat"
start_from_menu
open_settings " Podesavanje - Surftally  "
click_settings " Podesavanje - Surftally  " 88 319
check_history " Istorija - Surftally" Serbian sr

echo "PASSED"
