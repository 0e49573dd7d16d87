#!/usr/bin/env bash
# The real program as a new user meets it: Xvfb with a notification area (trayer), a fresh
# data folder, and a real connection: the program runs in its own network namespace with a
# fresh sysfs, where a veth pair named eth0 (LAN) or ppp0 (modem) carries the default route;
# removing the route takes it off-line. Colours are read from screenshot pixels and the mouse
# is driven by xdotool.
# Exits 77 (skipped) when the tools, root, network namespaces or the X server are missing.
# Usage: program_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

source "$(dirname "$0")/desktop-lib.sh"

require_tools Xvfb trayer xdotool xwininfo xprop import unshare nsenter ip
require_namespaces
program_and_defaults "$@"

# Every process the test starts ends by itself after this many seconds, even if the test is
# killed without a chance to clean up.
bound=$(patient 150)
links=()
start_work TERM 30
cleanup_more() {
    local link
    for link in "${links[@]}"; do
        ip link del "$link" 2>/dev/null
    done
}

start_xvfb 1024x768x24
start_panel --widthtype request

# The strip opens at left 0, top 768 - 67; the display is inside a two-pixel frame.
top=701
display_x=5
display_y=$((top + 4))
status_y=$((top + 30))

pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}'; }
is_colour() { [ "$(pixel "$1" "$2")" = "$3" ]; }
display_crop() { import -window root -crop "100x15+10+$((top + 5))" -depth 8 rgb:- 2>/dev/null | md5sum; }

# start_program LINK: a fresh data folder and namespace, a veth pair whose inside end is named
# LINK and carries the default route, then the program inside the namespace.
start_program() {
    local link=$1
    new_data status.dat=On

    timeout "$bound" unshare -n -m --propagation private \
        sh -c 'mount -t sysfs sysfs /sys && ip link set lo up && exec sleep '"$bound" &
    pids+=($!)
    local outer=$!
    wait_until 5 pgrep -P "$outer" -x sleep >/dev/null || fail "the network namespace did not start"
    holder=$(pgrep -P "$outer" -x sleep)

    local host="se2e$$r$run"
    ip link add "$host" type veth peer name "se2e$$p$run" || fail "cannot create a veth pair"
    links+=("$host")
    ip link set "se2e$$p$run" netns "$holder" || fail "cannot move the veth end into the namespace"
    # The host's end only needs to be up, for the carrier; the host's routes stay untouched.
    ip link set "$host" up
    inside ip link set "se2e$$p$run" name "$link" || fail "cannot name the link $link"
    inside ip addr add "10.231.$run.2/24" dev "$link"
    inside ip link set "$link" up
    inside ip route add default dev "$link" || fail "cannot add the default route"

    offline=(nsenter -t "$holder" -n -m --)
    run_program "$data"
    # A loaded machine may take a while to start a sanitizer build.
    wait_until 30 strip_shown ||
        fail "the strip was not shown (run $run; windows: $(xdotool search --name Surftally 2>/dev/null | xargs)); processes:
$(processes "$program_pid")"
}
inside() { nsenter -t "$holder" -n -m -- "$@"; }
# processes PID: the process and its descendants, with what each waits for.
processes() {
    local pid=$1 child
    ps -o pid=,stat=,wchan:24=,args= -p "$pid" 2>/dev/null
    for child in $(pgrep -P "$pid"); do processes "$child"; done
}
mtime() { stat -c %Y.%y "$data/remain.dat"; }

# --- On-line through a LAN -------------------------------------------------------------
start_program eth0
# Borderless, above other windows, and a utility window, which taskbars leave out.
window=$(xdotool search --onlyvisible --name '^Surftally$' | head -n 1)
properties=$(xprop -id "$window")
grep -q '_NET_WM_STATE_ABOVE' <<<"$properties" || fail "the strip is not kept above other windows"
grep -q '_NET_WM_WINDOW_TYPE_UTILITY' <<<"$properties" || fail "the strip is not a utility window"
[ "$(xwininfo -id "$window" | sed -n 's/.*Width: *//p')" = 120 ] || fail "the strip is not 120 wide"
echo "ok: the strip is a 120-pixel utility window kept above the others"
wait_until 15 is_colour "$display_x" "$display_y" "#FFFF00" ||
    fail "on-line the display is $(pixel "$display_x" "$display_y"), not yellow"
wait_until 3 is_colour 2 "$status_y" "#008000" || fail "the LAN strip is $(pixel 2 "$status_y"), not green"
first=$(display_crop)
sleep 1.2
[ "$(display_crop)" != "$first" ] || fail "the balance does not count down"
echo "ok: on-line the display is yellow and counts down"

# Seeded at 010:00:05: the minute mark about five seconds after the start rewrites the file.
minute_mark() { [ "$(cat "$data/remain.dat")" = $'010:00:00\r' ]; }
wait_until 8 minute_mark || fail "remain.dat holds $(cat "$data/remain.dat") after the minute mark"
echo "ok: the minute mark rewrote remain.dat with 010:00:00"

# The notification icon: a click hides the strip, the next shows it.
wait_until 5 icon_drawn || fail "the notification area shows no icon"
check_icon_toggles_strip

# Off-line: the last balance is written once and the clock shows on black.
sleep 2
before=$(mtime)
inside ip route del default || fail "cannot remove the default route"
wait_until 3 is_colour "$display_x" "$display_y" "#000000" ||
    fail "off-line the display is $(pixel "$display_x" "$display_y"), not black"
wait_until 3 is_colour 2 "$status_y" "#000080" || fail "the off-line strip is not navy"
saved=$(cat "$data/remain.dat")
[[ "$saved" =~ ^009:59:5[0-9]$'\r'$ ]] || fail "going off-line wrote '$saved'"
[ "$(mtime)" != "$before" ] || fail "going off-line did not write remain.dat"
after=$(mtime)
sleep 2.5
[ "$(mtime)" = "$after" ] || fail "remain.dat is written again while off-line"
echo "ok: off-line the last balance ($saved) is written once and the clock shows on black"

# Hovering off-line shows the stored balance on green (above the minimum of 2 hours).
xdotool mousemove --sync 60 $((top + 12))
wait_until 3 is_colour "$display_x" "$display_y" "#008000" ||
    fail "hovering off-line shows $(pixel "$display_x" "$display_y"), not green"
echo "ok: hovering off-line shows the stored balance on green"

# A click on the display opens the settings.
xdotool click 1
wait_until 3 settings_shown || fail "a click on the display did not open the settings"
echo "ok: a click on the display opens \" Settings - Surftally\""

# Deleting the balance file ends the program within about a second.
rm "$data/remain.dat"
wait_until 2 gone || fail "the program still runs 2 s after remain.dat was deleted"
wait "$program_pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "ok: deleting remain.dat ended the program cleanly"

# --- On-line through a modem ------------------------------------------------------------
start_program ppp0
wait_until 15 is_colour 2 "$status_y" "#800000" ||
    fail "the modem strip is $(pixel 2 "$status_y"), not maroon; routes: $(inside cat /proc/net/route | tail -n +2 | xargs); ppp0: $(inside cat /sys/class/net/ppp0/operstate)"
is_colour "$display_x" "$display_y" "#FFFF00" || fail "on-line through the modem the display is not yellow"
echo "ok: a modem link paints the strip maroon"

echo "PASSED"
