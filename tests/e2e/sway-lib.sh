# shellcheck shell=bash
# A headless sway session for the end-to-end scripts, sourced after desktop-lib.sh and
# start_work. sway refuses to run as root, so the session and every program in it run as a
# user of the tests' own (made here when missing), with a runtime folder of its own.
# Sets: test_user, run (its XDG_RUNTIME_DIR), wayland_display, x_display (XWayland).

test_user=surftally-e2e

# require_test_user: root, and the user exists or can be made.
require_test_user() {
    [ "$(id -u)" -eq 0 ] || skip "a headless sway session needs root, to run it as a user of its own"
    if ! id "$test_user" >/dev/null 2>&1; then
        useradd --system --no-create-home --shell /usr/sbin/nologin "$test_user" 2>/dev/null ||
            id "$test_user" >/dev/null 2>&1 || skip "cannot make the test user $test_user"
    fi
}

# as_user COMMAND...: runs COMMAND as the test user inside the session's environment.
as_user() {
    runuser -u "$test_user" -- env -i HOME="$work" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$run" \
        WAYLAND_DISPLAY="${wayland_display:-}" DISPLAY="${x_display:-}" \
        SWAYSOCK="${swaysock:-}" DBUS_SESSION_BUS_ADDRESS="${bus_address:-}" "$@"
}

# start_sway [CONFIG_LINES]: headless sway on one 1024 x 768 output with XWayland, waited
# for until it has told its displays; skips if it does not start.
start_sway() {
    chmod 755 "$work"
    run="$work/run"
    mkdir -m 700 "$run"
    chown "$test_user" "$run"
    cat >"$work/sway.config" <<CONFIG
xwayland enable
output HEADLESS-1 resolution 1024x768 position 0 0
exec sh -c 'printf "%s %s\\n" "\$WAYLAND_DISPLAY" "\$DISPLAY" > $run/displays'
${1:-}
CONFIG
    bounded
    "${limit[@]}" runuser -u "$test_user" -- env -i HOME="$work" PATH=/usr/bin:/bin \
        XDG_RUNTIME_DIR="$run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman DBUS_SESSION_BUS_ADDRESS="${bus_address:-}" \
        sway -c "$work/sway.config" >"$work/sway.log" 2>&1 &
    pids+=($!)
    wait_until 15 test -s "$run/displays" || skip "sway did not start: $(tail -n 3 "$work/sway.log")"
    read -r wayland_display x_display <"$run/displays"
    swaysock=$(ls "$run"/sway-ipc.*.sock 2>/dev/null | head -n 1)
    [ -n "$x_display" ] || skip "sway started without XWayland: $(tail -n 3 "$work/sway.log")"
}

# wayland_pixel X Y: the colour of one pixel of sway's output, as #RRGGBB.
wayland_pixel() {
    as_user grim -g "$1,$2 1x1" - 2>/dev/null | convert png:- -depth 8 txt:- 2>/dev/null |
        grep -o '#[0-9A-F]\{6\}'
}

# sway_views: one line per window sway manages: "NAME SHELL X Y WIDTH HEIGHT".
sway_views() {
    as_user swaymsg -r -t get_tree 2>/dev/null | /usr/bin/python3 -c '
import json, sys
def walk(node):
    if node.get("type") in ("con", "floating_con") and node.get("shell"):
        r = node["rect"]
        print(node.get("name"), node["shell"], r["x"], r["y"], r["width"], r["height"])
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}
