#!/usr/bin/env bash
# The installed Windows program's windows as a keyboard user and a scaled screen meet them,
# under Wine on Xvfb: the caret of the masked fields under every key that moves it, Tab into a
# field, Enter and Escape in the settings, the error box above the settings and closed by the
# keyboard, the end of the Windows session saving the balance, and the strip and the dialog at
# 144 DPI. Exits 77 (skipped) when the tools or the X server are missing.
# Usage: wine_keys_e2e.sh SURFTALLY_SETUP_EXE [SCREENSHOT_FOLDER]
set -uo pipefail

setup=${1:?usage: wine_keys_e2e.sh SURFTALLY_SETUP_EXE [SCREENSHOT_FOLDER]}
shots=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-program-lib.sh"

wine_program_test "$setup"

start_wine_desktop 300

folder="$WINEPREFIX/drive_c/Program Files/Surftally"
settings_title=" Settings - Surftally"

height_of() { xwininfo -id "$1" 2>/dev/null | sed -n 's/.*Height: *//p'; }
settings() { xdotool search --onlyvisible --name "^$settings_title\$" 2>/dev/null | head -n 1; }
settings_shown() { [ -n "$(settings)" ]; }
settings_hidden() { [ -z "$(settings)" ]; }
# click_client WINDOW X Y: a click at a point of the dialog's client area, in design pixels.
click_client() {
    local info wx wy ww wh cw ch border
    info=$(xwininfo -id "$1")
    wx=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    wy=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    ww=$(sed -n 's/.*Width: *//p' <<<"$info")
    wh=$(sed -n 's/.*Height: *//p' <<<"$info")
    cw=$((178 * dpi / 96))
    ch=$((381 * dpi / 96))
    border=$(((ww - cw) / 2))
    xdotool mousemove --sync $((wx + border + $2 * dpi / 96)) $((wy + wh - ch - border + $3 * dpi / 96)) click 1
}
open_settings() {
    local strip
    strip=$(strip_window)
    xdotool mousemove --sync $(($(xwininfo -id "$strip" | sed -n 's/.*Absolute upper-left X: *//p') + 30)) \
        $(($(xwininfo -id "$strip" | sed -n 's/.*Absolute upper-left Y: *//p') + 8)) click 1
    wait_until 5 settings_shown || fail "a click on the strip did not open the settings"
    sleep 0.3
}
# The balance field, in design pixels of the dialog.
click_balance() { click_client "$(settings)" 110 80; }
expect_remain() {
    wait_until 3 holds "$folder/remain.dat" "$1" ||
        fail "$2: remain.dat holds $(tr -d '\r' <"$folder/remain.dat"), not $1"
}
keys() { xdotool key --delay 80 "$@"; }
typed() { xdotool type --delay 80 "$1"; }
# stacked_above A B: window A stands above window B on the X server.
stacked_above() {
    local order a b
    order=$(xwininfo -root -children | grep -o '^ *0x[0-9a-f]*' | tr -d ' ')
    a=$(grep -n "^$(printf '0x%x' "$1")\$" <<<"$order" | cut -d: -f1)
    b=$(grep -n "^$(printf '0x%x' "$2")\$" <<<"$order" | cut -d: -f1)
    [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ]
}
shot() { [ -n "$shots" ] && mkdir -p "$shots" && import -window root "$shots/$1.png"; }

dpi=96
strip_width=120
timeout 120 wine "$setup" /S >>"$work/setup.log" 2>&1 || fail "the silent install failed: $(tail -n 3 "$work/setup.log")"
[ -n "$(shortcut Surftally.lnk)" ] || fail "no Start-menu shortcut"
start_from_menu

# --- Every key that moves the caret moves the field's --------------------------------------
open_settings
click_balance
keys Home
typed 0115808
expect_remain 011:58:08 "typing 0115808 after Home"
keys Home Down Down
typed 9
expect_remain 019:58:08 "Down twice from the start, then 9"
keys End shift+Left
typed 7
expect_remain 019:58:07 "Shift+Left from the end, then 7"
keys End shift+Home
typed 2
expect_remain 219:58:07 "Shift+Home from the end, then 2"
# The field is one word: Ctrl+Right goes to its end, and Left comes back to the last digit.
keys Home ctrl+Right Left
typed 1
expect_remain 219:58:01 "Ctrl+Right from the start, Left, then 1"
click_balance
keys Home
typed 0115808
expect_remain 011:58:08 "Home after a click, then 0115808"
echo "ok: Up, Down, Shift and Ctrl moves and clicks move the field's caret"

# --- Tab into a field puts the caret at its first position ---------------------------------
keys Tab shift+Tab
typed 0234500
expect_remain 023:45:00 "Shift+Tab back into the balance, then 0234500"
echo "ok: a field entered with Tab or Shift+Tab takes typing at its first position"

# --- Enter presses OK, Escape closes -------------------------------------------------------
keys Tab Tab
typed 1230
keys Return
wait_until 3 settings_hidden || fail "Enter did not press OK"
[ "$(head -n 1 "$folder/economic.dat" | tr -d '\r')" = 12:30 ] ||
    fail "OK by Enter wrote economic.dat as $(tr -d '\r' <"$folder/economic.dat" | tr '\n' ' ')"
echo "ok: Enter presses OK, which saves what was typed"
open_settings
keys Escape
wait_until 3 settings_hidden || fail "Escape did not close the settings"
open_settings
click_balance
keys Home
typed 5
# The balance counts on-line: only its first digit is known.
wait_until 3 eval '[[ "$(cat "$folder/remain.dat")" == 5* ]]' ||
    fail "5 typed at the start left remain.dat holding $(tr -d '\r' <"$folder/remain.dat")"
keys Escape
wait_until 3 eval '[[ "$(cat "$folder/remain.dat")" == 02* ]]' ||
    fail "Escape in a changed field left remain.dat holding $(tr -d '\r' <"$folder/remain.dat")"
settings_shown || fail "the field's own Escape also closed the settings"
keys Escape
wait_until 3 settings_hidden || fail "a second Escape did not close the settings"
echo "ok: Escape abandons a field's change first, then closes the settings"

# --- The error box: above the settings, closed by the keyboard -----------------------------
open_settings
click_balance
keys Home Delete
wait_until 5 box_shown || fail "a blank digit showed no error box"
box=$(error_box)
dialog=$(settings)
stacked_above "$box" "$dialog" || fail "the error box stands behind the settings"
# The box did not take the focus: typing goes on in the field, and Tab leaves it.
typed 0
wait_until 3 eval '[[ "$(cat "$folder/remain.dat")" == 02* ]]' ||
    fail "0 typed back in after the error left remain.dat holding $(tr -d '\r' <"$folder/remain.dat")"
keys Tab
sleep 0.5
stacked_above "$box" "$dialog" || fail "Tab brought the settings over the error box"
shot errorbox-96
# The user gives the box the focus with a click beside its button; then Enter closes it.
info=$(xwininfo -id "$box")
xdotool mousemove --sync $(($(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") + 20)) \
    $(($(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info") + 50)) click 1
sleep 0.3
settings_shown || fail "the click on the error box closed the settings"
keys Return
wait_until 3 eval '! box_shown' || fail "Enter did not close the error box that has the focus"
settings_shown || fail "Enter in the error box pressed the settings' OK"
echo "ok: the error box stands above the settings and Enter closes it once it has the focus"
click_client "$(settings)" 90 340
sleep 0.3
keys Escape
wait_until 3 settings_hidden || fail "Escape did not close the settings after the error"

# --- The end of the session saves the counted balance --------------------------------------
open_settings
click_balance
keys Home
typed 0123456
expect_remain 012:34:56 "typing 0123456"
keys Return
wait_until 3 settings_hidden || fail "Enter did not press OK"
sleep 3
# The session ends and the computer shuts down: without --shutdown, wineboot would start a new
# session, and the program again from its Startup shortcut.
timeout 60 wine wineboot --end-session --shutdown >>"$work/program.log" 2>&1
wait_until 20 eval '! program_running' || fail "the end of the session left the program running"
# Seconds counted since 012:34:56 was typed, and no minute mark (whole minutes) among them.
counted() {
    local balance
    balance=$(tr -d '\r' <"$folder/remain.dat")
    [[ "$balance" =~ ^012:3[34]:[0-5][0-9]$ ]] && [ "${balance:7}" != 56 ]
}
wait_until 10 counted ||
    fail "the end of the session left remain.dat holding $(tr -d '\r' <"$folder/remain.dat"), not the counted balance"
echo "ok: the end of the Windows session saves the counted balance ($(tr -d '\r' <"$folder/remain.dat"))"

# --- 144 DPI ---------------------------------------------------------------------------------
stop_wine
timeout 120 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f \
    >>"$work/setup.log" 2>&1 || fail "could not set 144 DPI"
timeout 60 wineserver -w >/dev/null 2>&1
dpi=144
strip_width=180
# The saved place, in design pixels, is scaled too: the strip stands 300 down (450 pixels).
printf '0\r\n300\r\n' >"$folder/position.dat"
start_from_menu
strip=$(strip_window)
[ "$(height_of "$strip")" -ge 37 ] || fail "the strip is $(height_of "$strip") high at 144 DPI"
shot strip-144
open_settings
dialog=$(settings)
[ "$(width_of "$dialog")" -ge 267 ] || fail "the settings are $(width_of "$dialog") wide at 144 DPI"
click_balance
keys Home
typed 0010000
expect_remain 001:00:00 "typing at 144 DPI"
shot settings-144
echo "ok: at 144 DPI the strip is $(width_of "$strip")x$(height_of "$strip"), the settings" \
    "$(width_of "$dialog")x$(height_of "$dialog"), and typing lands"

echo "PASSED"
