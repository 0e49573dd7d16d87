#!/usr/bin/env bash
# The settings dialog driven by the keyboard alone, as on a desktop with a stacking window
# manager (openbox on Xvfb): Tab through every field, typing, the arrow keys, Home and End,
# paste from the clipboard, Escape and Enter. Checked through the data files the dialog
# writes, the strip's place, and screenshots. The program runs off-line in a network
# namespace of its own, so that the balance holds still while the files are compared.
# Exits 77 (skipped) when the tools, the X server or network namespaces are missing.
# Usage: keyboard_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

source "$(dirname "$0")/desktop-lib.sh"

require_tools Xvfb openbox xdotool xwininfo xprop xclip import
require_namespaces
program_and_defaults "$@"

start_openbox_desktop 1024x768x24 120
new_data status.dat=On freeze.dat=Off
show_program

# file_is NAME TEXT...: the data file holds these lines (CR LF ended), waited for.
file_is() {
    local name=$1
    shift
    wait_until 5 holds "$data/$name" "$@" || fail "$name holds '$(tr -d '\r' <"$data/$name" | xargs)', not '$*' ($step)"
}
# keys KEY...: keys pressed in the window that has the focus.
keys() { xdotool key --delay 30 "$@"; }
typed() { xdotool type --delay 30 "$1"; }
dialog_active() { [ -n "$(settings_window)" ] && [ "$(xdotool getactivewindow 2>/dev/null)" = "$(settings_window)" ]; }
dialog_gone() { [ -z "$(settings_window)" ]; }

# open_settings: a click on the strip opens the dialog with the focus on its first field.
open_settings() {
    read -r x y _ <<<"$(window_geometry "$window")"
    xdotool mousemove --sync $((x + 60)) $((y + 12)) click 1
    wait_until 5 dialog_active || fail "the settings did not open with the focus ($step)"
}

step="opening"
open_settings
import -window root "$work/opened.png"

# Freeze has the focus first; Space switches it, and the switch is stored at once.
step="Space on Freeze"
keys space
file_is freeze.dat On
keys space
file_is freeze.dat Off
# Tab to Status: off, the strip loses its status line.
step="Tab to Status"
keys Tab space
file_is status.dat Off
wait_until 3 eval '[ "$(window_geometry "$window" | cut -d" " -f4)" = 25 ]' ||
    fail "the strip did not lose its status line: $(window_geometry "$window")"
keys space
file_is status.dat On

# Tab over Hide to the balance: entered from the keyboard, typing starts at the first digit.
step="typing the balance"
keys Tab Tab
typed 0123000
file_is remain.dat 012:30:00
step="arrows in the balance"
keys Left Left
typed 45
file_is remain.dat 012:30:45
step="Home in the balance"
keys Home
typed 1
file_is remain.dat 112:30:45
step="End and Backspace"
keys End BackSpace
file_is remain.dat 112:30:45 # a half-filled balance is not converted, not stored
# The conversion's message box says so; it is closed, and the dialog has the keyboard again.
box() {
    xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null | while read -r w; do
        [ "$w" != "$window" ] && echo "$w"
    done | head -n 1
}
wait_until 5 eval '[ -n "$(box)" ]' || fail "no message about the half-filled balance"
xdotool windowactivate --sync "$(box)" key Return 2>/dev/null
wait_until 5 eval '[ -z "$(box)" ]' || fail "the message box did not close"
dialog_active || xdotool windowactivate --sync "$(settings_window)" 2>/dev/null
wait_until 5 dialog_active || fail "the dialog did not get the keyboard back"
step="Escape in the balance"
keys Escape
file_is remain.dat 010:00:05 # the whole change since entering the field is abandoned
dialog_active || fail "the first Escape closed the dialog instead of abandoning the change"

# Paste: a text that cannot be typed in the field does not go in at all; a copied piece of a
# balance goes through the field's rules. (Had the first gone in, the second would not give
# what is checked.)
step="pasting text that cannot be typed"
printf '0123456789' | xclip -selection clipboard
keys Home shift+Insert
step="pasting a piece of a balance"
printf '02\n' | xclip -selection clipboard
keys Home ctrl+v
file_is remain.dat 020:00:05

step="the minimum"
keys Tab
typed 7
keys Up
step="the economic period"
keys Tab
typed 2230
keys Tab
typed 0600
step="the discount"
keys Tab
typed 50
step="the position"
keys Tab
typed 300
wait_until 3 eval '[ "$(window_geometry "$window" | cut -d" " -f1)" = 300 ]' ||
    fail "x did not move the strip: $(window_geometry "$window")"
keys Tab
typed 400
wait_until 3 eval '[ "$(window_geometry "$window" | cut -d" " -f2)" = 400 ]' ||
    fail "y did not move the strip: $(window_geometry "$window")"
import -window root "$work/filled.png"
cp "$work/filled.png" /tmp/surftally-keyboard-filled.png

# Enter from the last field presses OK: every file written, the dialog closed.
step="Enter"
keys Return
wait_until 5 dialog_gone || fail "Enter did not close the dialog"
file_is alarm.dat 8
file_is economic.dat 22:30 06:00 50
file_is position.dat 300 400
file_is hide.dat Off
file_is remain.dat 020:00:05
echo "ok: Tab, typing, arrows, Home, End, paste, Escape and Enter store what was typed"

# Reopened, the dialog gives the focus back to the field that had it (y). Escape first
# abandons the balance field's change, then closes the dialog as its title-bar button does.
step="Escape closes"
open_settings
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
typed 5
file_is remain.dat 520:00:05
keys Escape
file_is remain.dat 020:00:05
dialog_active || fail "the first Escape closed the dialog instead of abandoning the change"
keys Escape
wait_until 5 dialog_gone || fail "Escape did not close the dialog"
file_is alarm.dat 8
echo "ok: Escape abandons a field's change, then closes the dialog storing nothing"

# The middle button pastes the primary selection where it is clicked, through the same rules.
step="middle-button paste"
open_settings
read -r dx dy _ <<<"$(window_geometry "$(settings_window)")"
printf '0112:59:47' | xclip -selection primary
xdotool mousemove --sync $((dx + 98)) $((dy + 80)) click 2
printf '03' | xclip -selection primary
xdotool click 2
file_is remain.dat 030:00:05
keys Escape Escape
wait_until 5 dialog_gone || fail "Escape did not close the dialog"
file_is remain.dat 020:00:05
echo "ok: the middle button's paste goes through the balance field's rules"

# Enter on a focused button clicks it: Close Application (before Freeze in the tab order)
# ends the program, saving the balance.
step="Enter on Close Application"
open_settings
keys shift+Tab shift+Tab shift+Tab shift+Tab
keys Return
wait_until 5 gone || fail "Enter on the focused Close Application did not end the program"
file_is remain.dat 020:00:05
echo "ok: Enter clicks the focused button"
echo "PASSED"
