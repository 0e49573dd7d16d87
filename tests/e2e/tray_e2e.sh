#!/usr/bin/env bash
# The notification icon in a real notification area: Xvfb with trayer, the icon shown by
# tray_harness through the Qt shell, clicked with xdotool, its pixels read with import.
# Exits 77 (skipped) when the tools are missing or the X server cannot start.
# Usage: tray_e2e.sh PATH_TO_TRAY_HARNESS
set -uo pipefail

harness=${1:?usage: tray_e2e.sh PATH_TO_TRAY_HARNESS}
colour="C03080"  # the icon's fill, as import reports it
source "$(dirname "$0")/desktop-lib.sh"

fail() {
    echo "FAILED: $*"
    if [ -n "${work:-}" ] && [ -f "$work/events.log" ]; then
        echo "--- harness events:"
        grep -v '^MouseMove$' "$work/events.log"
        echo "--- harness errors:"
        cat "$work/harness.err"
    fi
    exit 1
}

require_tools Xvfb trayer xdotool xwininfo import convert
[ -x "$harness" ] || fail "no harness at $harness"

# Every process the test starts ends by itself at the latest after this many seconds, even
# if the test is killed without a chance to clean up.
bound=$(patient 110)
start_work TERM 50

start_xvfb 800x600x24
export QT_QPA_PLATFORM=xcb

panel_width=(--widthtype pixel --width 200)
start_harness() {
    timeout "$bound" "$harness" "$work/icon.ico" >"$work/events.log" 2>"$work/harness.err" &
    harness_pid=$!
    pids+=($harness_pid)
}
stop() {
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

start_panel "${panel_width[@]}"

convert -size 32x32 "xc:#$colour" "$work/icon.ico" || fail "cannot write the test icon"
start_harness

embedded_line() { grep -m1 '^Embedded ' "$work/events.log"; }
wait_until 15 embedded_line >/dev/null || fail "the icon was not shown in the notification area"
icon=$(embedded_line | cut -d' ' -f2)
grep -qx Available "$work/events.log" || fail "the shell did not see the notification area"

# Embedded: the icon window's parent is trayer's socket, not the root window.
info=$(xwininfo -id "$icon" -tree) || fail "no icon window $icon"
root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
parent=$(sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p' <<<"$info")
[ -n "$parent" ] && [ "$parent" != "$root" ] || fail "the icon window is not embedded"

geometry=$(xwininfo -id "$icon")
x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$geometry")
y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$geometry")
w=$(sed -n 's/.*Width: *//p' <<<"$geometry")
h=$(sed -n 's/.*Height: *//p' <<<"$geometry")
cx=$((x + w / 2))
cy=$((y + h / 2))

pixel() { import -window root -crop "1x1+$cx+$cy" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}'; }
shows_colour() { [ "$(pixel)" = "#$colour" ]; }
wait_until 5 shows_colour || fail "the icon shows $(pixel) at its centre, not #$colour"
echo "ok: icon embedded at $cx,$cy and shows #$colour"

# Events after line $1 of the log, pointer moves left out.
events_after() { tail -n +"$(($1 + 1))" "$work/events.log" | grep -v '^MouseMove$'; }
lines() { wc -l <"$work/events.log"; }
# expect START WHAT EXPECTED...: waits for exactly the expected events after START.
expect() {
    local start=$1 what=$2
    shift 2
    local want count=$#
    want=$(printf '%s\n' "$@")
    got_all() { [ "$(events_after "$start" | head -n "$count")" = "$want" ]; }
    wait_until 5 got_all || fail "$what: expected [$(echo $want)], got [$(events_after "$start" | xargs)]"
    sleep 0.6  # nothing further may follow
    [ "$(events_after "$start")" = "$want" ] ||
        fail "$what: expected [$(echo $want)], got [$(events_after "$start" | xargs)]"
    echo "ok: $what"
}

xdotool mousemove --sync "$cx" "$cy"
start=$(lines)
xdotool click 1
expect "$start" "left click" "MouseDown 0" "Click" "MouseUp 0"

sleep 0.6  # past the double-click interval
start=$(lines)
xdotool click --repeat 2 --delay 100 1
expect "$start" "left double click" "MouseDown 0" "Click" "MouseUp 0" "DblClick" "MouseUp 0"

sleep 0.6
start=$(lines)
xdotool click 3
popup="Popup $cx $cy"
expect "$start" "right click with a menu" "MouseDown 1" "$popup" "MenuShown" "MouseUp 1"
menu_mapped() { xdotool search --onlyvisible --classname tray_harness 2>/dev/null | grep -vqx "$icon"; }
wait_until 5 menu_mapped || fail "the menu window did not appear"
echo "ok: menu shown"

grep -qx MouseMove "$work/events.log" || fail "no pointer-move notification while the icon is shown"
echo "ok: pointer moves reported"

# A desktop whose notification area comes later: the icon appears when it does.
stop "$harness_pid"
stop "$trayer_pid"
wait_until 5 eval '! has_panel' || fail "trayer did not go away"
start_harness
wait_until 10 grep -qx Unavailable "$work/events.log" || fail "the shell saw a notification area that is not there"
start_trayer "${panel_width[@]}"
wait_until 10 has_panel || fail "trayer did not start again"
wait_until 15 embedded_line >/dev/null || fail "the icon did not appear when the notification area did"
echo "ok: icon shown once a notification area appeared"
echo "PASSED"
