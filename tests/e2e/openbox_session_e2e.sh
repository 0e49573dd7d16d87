#!/usr/bin/env bash
# The real program under openbox as a user's session has it: two workspaces, a notification
# area (trayer) that starts after the program, and the settings moving the strip right after
# it was shown. The strip stays on every workspace; the stored Hide switch hides it once the
# area comes; a move by the settings' spin edits is the program's own, so the strip stays at
# the new place and in the manager's hands. The program runs off-line in a network namespace
# of its own where the machine permits it.
# Exits 77 (skipped) when the tools are missing or the X server cannot start.
# Usage: openbox_session_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

source "$(dirname "$0")/desktop-lib.sh"

require_tools Xvfb openbox trayer xdotool xwininfo xprop import
program_and_defaults "$@"

start_openbox_desktop 1024x768x24 120
# Asked again at each look: a request sent while openbox still sets itself up is lost.
desktops_are() { xdotool set_num_desktops "$1" && [ "$(xdotool get_num_desktops)" = "$1" ]; }
desktop_is() { xdotool set_desktop "$1" && [ "$(xdotool get_desktop)" = "$1" ]; }
wait_until 5 desktops_are 2 || fail "openbox did not make two workspaces (it has $(xdotool get_num_desktops))"

# start_program LEFT TOP HIDE: a fresh data folder with that position and Hide switch.
start_program() {
    new_data position.dat="$1 $2" hide.dat="$3"
    show_program
}
placed_at() { [ "$(window_geometry "$window" | cut -d' ' -f1-2)" = "$1 $2" ]; }

# --- Every workspace, and Hide with a panel that comes 3 s later ---------------------------
start_program 200 300 On
wait_until 3 placed_at 200 300 || fail "the strip stands at $(window_geometry "$window"), not 200/300"
wait_until 5 desktop_is 1 || fail "openbox did not switch to workspace 2"
on_screen() {
    xwininfo -id "$window" | grep -q 'Map State: IsViewable' && pixel_is 200 300 "#999999"
}
wait_until 3 on_screen ||
    fail "on workspace 2 the strip is gone ($(xwininfo -id "$window" | grep 'Map State'); $(xprop -id "$window" _NET_WM_DESKTOP _NET_WM_STATE | xargs))"
import -window root "$work/workspace2.png" 2>/dev/null && cp "$work/workspace2.png" /tmp/surftally-workspace2.png
echo "ok: on the second workspace the strip is still shown at its place"
wait_until 5 desktop_is 0 || fail "openbox did not switch back to workspace 1"

# No notification area yet: the stored Hide switch has nowhere to hide the strip.
sleep 3
[ -n "$(strip_window)" ] || fail "without a notification area the strip was hidden"
start_panel --widthtype pixel --width 200
wait_until 10 eval '[ -z "$(strip_window)" ]' ||
    fail "with Hide checked the strip stays shown after the notification area came"
echo "ok: with Hide checked, a notification area that comes 3 s after the program hides the strip"
stop_program

# --- The settings move the strip within 3 s of its being shown ----------------------------
# The panel is still there: the Hide box can hide the strip.
start_program 100 100 Off
wait_until 3 placed_at 100 100 || fail "the strip stands at $(window_geometry "$window"), not 100/100"
wait_until 3 pixel_is 100 100 "#999999" || fail "the strip is not drawn"
click_in "$window" 60 12
wait_until 5 eval '[ -n "$(settings_window)" ]' || fail "a click on the display did not open the settings"
dialog=$(settings_window)
# Hide and show the strip with the Hide box, then step x up five times at once: within the
# 3 s in which the strip watches what the manager does with it.
click_in "$dialog" 14 40
wait_until 5 eval '[ -z "$(strip_window)" ]' || fail "the Hide box did not hide the strip"
click_in "$dialog" 14 40
wait_until 5 eval '[ -n "$(strip_window)" ]' || fail "the Hide box did not show the strip again"
click_in "$dialog" 50 286
xdotool key --delay 30 Up Up Up Up Up
wait_until 5 placed_at 105 100 || fail "x stepped up left the strip at $(window_geometry "$window")"
# Past the watch: the strip stays where the program put it, in the manager's hands.
sleep 3.5
placed_at 105 100 || fail "the strip went back to $(window_geometry "$window") after the settings moved it"
managed "$window" || fail "the settings' move took the strip out of the window manager's hands"
echo "ok: a move by the settings right after the strip is shown keeps it there and managed"
stop_program

echo "PASSED"
