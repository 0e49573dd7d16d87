#!/usr/bin/env bash
# The notification icon in a real notification area: Xvfb with trayer, the icon shown by
# tray_harness through the Qt shell, clicked with xdotool, its pixels read with import.
# Exits 77 (skipped) when the tools are missing or the X server cannot start.
# Usage: tray_e2e.sh PATH_TO_TRAY_HARNESS
set -uo pipefail

harness=${1:?usage: tray_e2e.sh PATH_TO_TRAY_HARNESS}
colour="C03080"  # the icon's fill, as import reports it

skip() {
    echo "SKIPPED: $*"
    exit 77
}
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

for tool in Xvfb trayer xdotool xwininfo import convert; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps installs it)"
done
[ -x "$harness" ] || fail "no harness at $harness"

# Every process the test starts ends by itself at the latest after this many seconds, even
# if the test is killed without a chance to clean up.
bound=110
work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill "$pid" 2>/dev/null
    done
    for pid in "${pids[@]}"; do
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds or time is up.
wait_until() {
    local tenths=$(($1 * 10))
    shift
    for ((t = 0; t < tenths; t++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# The X server picks a free display and writes its number to the file.
timeout "$bound" Xvfb -displayfd 4 -screen 0 800x600x24 -nolisten tcp 4>"$work/display" 2>"$work/xvfb.err" &
pids+=($!)
display_known() { grep -q '^[0-9]' "$work/display"; }
wait_until 10 display_known || skip "Xvfb did not start: $(tail -n 3 "$work/xvfb.err")"
number=$(head -n 1 "$work/display")
export DISPLAY=":$number"
unset DBUS_SESSION_BUS_ADDRESS  # the icon embeds the X11 way, not through a D-Bus host
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb

start_trayer() {
    timeout "$bound" trayer --edge bottom --align right --widthtype pixel --width 200 --height 32 \
        >"$work/trayer.log" 2>&1 &
    trayer_pid=$!
    pids+=($trayer_pid)
}
has_panel() { xwininfo -root -tree 2>/dev/null | grep -q '"panel": ("panel" "trayer")'; }
start_harness() {
    timeout "$bound" "$harness" "$work/icon.ico" >"$work/events.log" 2>"$work/harness.err" &
    harness_pid=$!
    pids+=($harness_pid)
}
stop() {
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

start_trayer
wait_until 10 has_panel || skip "trayer did not start: $(tail -n 3 "$work/trayer.log")"

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
start_trayer
wait_until 10 has_panel || fail "trayer did not start again"
wait_until 15 embedded_line >/dev/null || fail "the icon did not appear when the notification area did"
echo "ok: icon shown once a notification area appeared"
echo "PASSED"
