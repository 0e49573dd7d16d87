#!/usr/bin/env bash
# The real program in a Wayland session: headless sway (WLR_BACKENDS=headless) with XWayland,
# run as a user of the test's own since sway refuses root. With both WAYLAND_DISPLAY and
# DISPLAY and no QT_QPA_PLATFORM the program goes through XWayland, and its strip stands at
# the stored place at its exact size, although sway centres floating windows and stretches
# them to 75 x 50; that is read from sway's own output (grim). Without DISPLAY it runs as a
# native Wayland client.
# Exits 77 (skipped) when root, the tools or the session are missing.
# Usage: sway_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-lib.sh"
source "$here/sway-lib.sh"
fail_more() {
    if [ -n "${work:-}" ] && [ -f "$work/sway.log" ]; then
        echo "--- sway:"
        tail -n 5 "$work/sway.log"
    fi
}

require_tools sway Xwayland swaymsg grim xwininfo convert runuser useradd
require_test_user
program_and_defaults "$@"
runuser -u "$test_user" -- test -x "$program" ||
    skip "the test user $test_user cannot run $program (a folder on the way is closed to others)"

bound=$(patient 80)
start_work TERM 30
start_sway

# start_program DISPLAY: the program as the session would start it, QT_QPA_PLATFORM unset.
run_number=0
start_program() {
    run_number=$((run_number + 1))
    data="$work/data$run_number"
    seed_data "$data" "$defaults"
    printf '300\r\n400\r\n' >"$data/position.dat"
    printf 'On\r\n' >"$data/status.dat"
    chown -R "$test_user" "$data"
    x_display=$1 timeout "$bound" bash -c 'source "$0"; test_user=$1 work=$2 run=$3 \
        wayland_display=$4 x_display=$5 as_user env SURFTALLY_DATA_DIR="$6" \
        LSAN_OPTIONS=suppressions=$8 "$7"' "$here/sway-lib.sh" "$test_user" "$work" "$run" \
        "$wayland_display" "$1" "$data" "$program" "$here/lsan.supp" >"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
}
stop_program() {
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
}

# --- With XWayland ------------------------------------------------------------------------
x11_strip() { as_user xwininfo -root -tree 2>/dev/null | grep '"Surftally": ("surftally"' | grep -v '1x1+'; }
start_program "$x_display"
wait_until 30 eval '[ -n "$(x11_strip)" ]' ||
    fail "the strip is not an X11 window of XWayland (sway's views: $(sway_views | xargs))"
echo "ok: with XWayland beside Wayland the program chose XWayland"

at_place() { x11_strip | grep -q '120x37+[0-9-]*+[0-9-]*  +300+400'; }
wait_until 10 at_place || fail "the strip's X11 window is not at 300/400, 120 x 37: $(x11_strip)"
# On sway's output: the strip's grey frame corner at 300/400, its status line at the bottom.
strip_drawn() {
    [ "$(wayland_pixel 300 400)" = "#999999" ] &&
        [[ "$(wayland_pixel 300 436)" =~ ^#(000080|008000|800000)$ ]] &&
        ! [[ "$(wayland_pixel 300 437)" =~ ^#(000080|008000|800000)$ ]]
}
wait_until 10 strip_drawn ||
    fail "sway does not show the strip at 300/400, 37 high (corner $(wayland_pixel 300 400), bottom $(wayland_pixel 300 436), below $(wayland_pixel 300 437)); views: $(sway_views | xargs)"
as_user grim "$run/sway.png" 2>/dev/null && cp "$run/sway.png" /tmp/surftally-sway.png
echo "ok: sway shows the strip at its stored place 300/400, exactly 120 x 37"
stop_program

# --- Without XWayland ---------------------------------------------------------------------
native() { sway_views | grep -q '^Surftally xdg_shell '; }
start_program ""
wait_until 30 native || fail "without DISPLAY the strip is no Wayland window (views: $(sway_views | xargs))"
echo "ok: without XWayland the program runs as a native Wayland client"
stop_program

echo "PASSED"
