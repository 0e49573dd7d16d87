#!/usr/bin/env bash
# The real program with a D-Bus notification area: Xvfb with openbox, a private session bus,
# and a StatusNotifierWatcher with a host (tests/e2e/sni_watcher.py) that starts 3 s after
# the program, as a panel does at log-in. The item registers with the icon's pictures and the
# tip, and the stored Hide switch hides the strip then; activations go to the item the way a
# panel sends them (gdbus, or a burst that waits for no reply); the watcher's end while
# the strip is hidden brings the strip back; dbus-monitor counts what the program sends while
# nothing changes. The program runs off-line in a network namespace of its own.
# Exits 77 (skipped) when the tools, root or network namespaces are missing.
# Usage: sni_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

source "$(dirname "$0")/desktop-lib.sh"
fail_more() {
    if [ -n "${work:-}" ] && [ -f "$work/watcher.log" ]; then
        echo "--- watcher:"
        tail -n 20 "$work/watcher.log"
    fi
}

require_tools Xvfb openbox xdotool dbus-daemon dbus-monitor gdbus convert unshare
/usr/bin/python3 -c 'import dbus, gi' 2>/dev/null ||
    skip "python3-dbus and python3-gi are not installed (scripts/install-deps installs them)"
require_namespaces
program_and_defaults "$@"

start_openbox_desktop 1024x768x24 140

start_session_bus

item_line() { grep -m1 '^ITEM ' "$work/watcher.log"; }

new_data hide.dat=On
run_program "$data"
wait_until 30 strip_shown || fail "the strip was not shown"

# --- A notification area that comes 3 s after the program --------------------------------
# Until then the stored Hide switch has nowhere to hide the strip.
sleep 3
strip_shown || fail "without a notification area the strip was hidden"
start_watcher
wait_until 10 eval '[ -n "$(item_line)" ]' || fail "no item registered with the watcher"
item=$(item_line)
service=$(cut -d' ' -f2 <<<"$item")
# Off-Line.ico holds one picture per size, smallest first; the item sends each of them.
ico_sizes=(16 20 24 32 40 48 64)
sizes=$(printf '%sx%s,' $(for s in "${ico_sizes[@]}"; do echo "$s $s"; done))
[[ "$item" == *" sizes=${sizes%,} "* ]] || fail "the item's pictures: $item"
# The pictures are Off-Line.ico's, each pixel ARGB in network byte order.
for frame in "${!ico_sizes[@]}"; do
    size=${ico_sizes[$frame]}
    rgb=$(convert "$defaults/Off-Line.ico[$frame]" -crop "1x1+$((size / 2))+$((size / 2))" \
        -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | tr -d '#')
    grep -q "centre=.*FF$rgb" <<<"$item" || fail "the ${size}-pixel picture's centre is not FF$rgb: $item"
done
[[ "$item" == *" title=Surftally" ]] || fail "the item's title: $item"
tip='TIP Off - Line ... Available Time: 010:00:05 '
wait_until 5 grep -qxF "$tip" "$work/watcher.log" ||
    fail "the tip is not '${tip#TIP }': $(grep '^TIP' "$work/watcher.log" | tail -n 1)"
echo "ok: a watcher started 3 s after the program gets the item: pictures ${sizes%,}, tip '${tip#TIP }'"
wait_until 5 eval '! strip_shown' || fail "with Hide checked the strip stays shown after the D-Bus area came"
echo "ok: with Hide checked, the D-Bus notification area's coming hides the strip"

# --- Activations as a panel sends them -----------------------------------------------------
activate() {
    gdbus call --session --dest "$service" --object-path /StatusNotifierItem \
        --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null || fail "Activate failed"
}
# activate_burst COUNT: COUNT activations at once from one process, as a panel sends a double
# click: each sent without waiting for the program's reply, so that they arrive together
# however busy the machine is.
activate_burst() {
    /usr/bin/python3 - "$service" "$1" <<'PY' || fail "Activate failed"
import sys
import dbus
bus = dbus.SessionBus()
item = bus.get_object(sys.argv[1], "/StatusNotifierItem", introspect=False)
for _ in range(int(sys.argv[2])):
    item.Activate(0, 0, dbus_interface="org.kde.StatusNotifierItem", ignore_reply=True)
bus.flush()
PY
}
activate
wait_until 3 strip_shown || fail "an activation did not show the hidden strip"
activate
wait_until 3 eval '! strip_shown' || fail "a second activation did not hide the strip"
activate
wait_until 3 strip_shown || fail "a third activation did not show the strip"
echo "ok: an activation shows the hidden strip, the next hides it, the next shows it"

# The gesture for the settings: two activations within the double-click interval, or the
# three a toolkit's double click may send; either toggles the strip once.
close_settings() {
    xdotool windowactivate --sync "$(settings_window)" key alt+F4
    wait_until 3 eval '! settings_shown' || fail "the settings did not close"
}
for count in 2 3; do
    sleep 1
    before=$(strip_shown && echo shown || echo hidden)
    activate_burst "$count"
    wait_until 3 settings_shown || fail "$count activations did not open the settings"
    sleep 1  # past the double-click interval: nothing else may follow
    after=$(strip_shown && echo shown || echo hidden)
    [ "$after" != "$before" ] || fail "$count activations left the strip $after (toggled twice)"
    echo "ok: $count quick activations open \" Settings - Surftally\" and toggle the strip once"
    close_settings
done
# A double click toggles the strip once: after two of them it is shown again.
strip_shown || fail "the strip is not shown after the gestures"

# --- Nothing sent while nothing changes ----------------------------------------------------
timeout 20 dbus-monitor --session "type='signal',interface='org.kde.StatusNotifierItem'" \
    "type='signal',member='NameOwnerChanged'" >"$work/monitor.log" 2>/dev/null
icons=$(grep -c 'member=NewIcon$' "$work/monitor.log")
tips=$(grep -c 'member=NewToolTip$' "$work/monitor.log")
connections=$(grep -A2 'member=NameOwnerChanged$' "$work/monitor.log" | grep -c '^   string ":')
[ "$icons" -eq 0 ] && [ "$tips" -eq 0 ] ||
    fail "off-line with nothing changing the program sent $icons icon and $tips tip signals in 20 s"
echo "ok: off-line with nothing changing: 0 icon and 0 tip signals in 20 s ($connections new bus connections)"

# --- The notification area goes while the strip is hidden ----------------------------------
activate
wait_until 3 eval '! strip_shown' || fail "an activation did not hide the strip"
stop_program "$watcher_pid"
wait_until 3 strip_shown || fail "the strip stayed hidden when the notification area went"
echo "ok: the strip is shown again when the notification area goes while it is hidden"

start_watcher
wait_until 5 eval '[ -n "$(item_line)" ]' || fail "a new watcher did not get the item"
echo "ok: a watcher that comes back gets the item again"

echo "PASSED"
