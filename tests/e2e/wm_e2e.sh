#!/usr/bin/env bash
# The real program under a stacking window manager (openbox on Xvfb), the way most X11 users
# run it: the strip at its stored place and at the default one, undecorated, exactly 120 x 37
# with the status strip and 120 x 25 without, above a window that is opened over it and
# focused, and left out of task lists and pagers. The program runs off-line in a network
# namespace of its own where the machine permits it, so that only the window manager keeps
# the strip above (the program itself raises it only every ten seconds off-line).
# Exits 77 (skipped) when the tools are missing or the X server cannot start.
# Usage: wm_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

source "$(dirname "$0")/desktop-lib.sh"

require_tools Xvfb openbox xdotool xwininfo xprop xmessage import
program_and_defaults "$@"

start_openbox_desktop 1024x768x24 100
if [ ${#offline[@]} -eq 0 ]; then
    echo "note: no network namespaces here; the host's connection decides on-line or off-line"
fi

# start_program LEFT TOP STATUS: a fresh data folder with that position and status switch.
start_program() {
    new_data position.dat="$1 $2" status.dat="$3"
    show_program
}

# check_strip X Y WIDTH HEIGHT: where the strip stands and that nothing of a frame is drawn.
check_strip() {
    local want="$1 $2 $3 $4"
    placed() { [ "$(window_geometry "$window")" = "$want" ]; }
    # The manager places the window right after it is mapped.
    wait_until 3 placed || fail "the strip stands at $(window_geometry "$window"), not $want"
    local extents
    extents=$(xprop -id "$window" _NET_FRAME_EXTENTS)
    [[ "$extents" == *"= 0, 0, 0, 0" ]] || fail "the strip has a frame: $extents"
    # The strip's own grey frame is the first thing on the screen at its corner.
    wait_until 3 pixel_is "$1" "$2" "#999999" ||
        fail "at the strip's corner the screen shows $(screen_pixel "$1" "$2"), not its frame"
    echo "ok: the strip stands at $1/$2, ${3} x ${4}, undecorated"
}

# check_task_list: the strip is managed and carries the skip-taskbar and skip-pager states.
check_task_list() {
    local clients state
    clients=$(xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*')
    grep -qx "$(printf '0x%x' "$window")" <<<"$clients" ||
        fail "the strip is not in _NET_CLIENT_LIST ($(xargs <<<"$clients"))"
    for client in $clients; do
        [ "$(xprop -id "$client" WM_NAME)" = 'WM_NAME(STRING) = "Surftally"' ] || continue
        state=$(xprop -id "$client" _NET_WM_STATE)
        grep -q '_NET_WM_STATE_SKIP_TASKBAR' <<<"$state" || fail "no skip-taskbar state: $state"
        grep -q '_NET_WM_STATE_SKIP_PAGER' <<<"$state" || fail "no skip-pager state: $state"
        grep -q '_NET_WM_STATE_ABOVE' <<<"$state" || fail "not kept above: $state"
    done
    echo "ok: the strip's _NET_CLIENT_LIST entry carries skip-taskbar, skip-pager and above"
}

# --- The stored place, with the status strip ---------------------------------------------
start_program 300 400 On
check_strip 300 400 120 37
check_task_list

# A window opened over the strip and focused goes beneath it.
xmessage -geometry 320x200+250+350 -name cover "A window over the strip" >/dev/null 2>&1 &
pids+=($!)
cover() { xdotool search --onlyvisible --classname '^cover$' 2>/dev/null | head -n 1; }
wait_until 10 eval '[ -n "$(cover)" ]' || fail "the covering window did not appear"
xdotool windowactivate --sync "$(cover)" 2>/dev/null
focused() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(cover)" ]; }
wait_until 3 focused || fail "the covering window did not get the focus"
# The strip's frame corner and its status line (navy off-line; green or maroon on-line).
above() {
    [ "$(screen_pixel 300 400)" = "#999999" ] &&
        [[ "$(screen_pixel 300 436)" =~ ^#(000080|008000|800000)$ ]]
}
wait_until 1 above || fail "a focused window opened over the strip covers it"
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | xargs)
[ "${stacking##* }" = "$(printf '0x%x' "$window")" ] ||
    fail "the strip is not on top of the stacking order ($stacking)"
echo "ok: the strip stays above a focused window opened over it"
import -window root "$work/openbox.png" 2>/dev/null && cp "$work/openbox.png" /tmp/surftally-wm-openbox.png
stop_program
kill "$(cover)" 2>/dev/null
xdotool windowkill "$(cover)" 2>/dev/null

# --- The default place, without the status strip ------------------------------------------
start_program -1 -1 Off
check_strip 0 $((768 - 67)) 120 25
check_task_list
stop_program

echo "PASSED"
