#!/usr/bin/env bash
# The real program started over hostile data files, one at a time: each starts and stays up,
# shows a message where a file is wrong and none where it is only unusual (LF line ends,
# byte-order marks), reports no sanitizer error, and leaves remain.dat as it was.
# Off-line under Xvfb; exits 77 (skipped) when the tools are missing.
# Usage: hardening_hostile.sh PROGRAM DEFAULT_DATA_FOLDER
set -uo pipefail

program=$(realpath "${1:?usage: hardening_hostile.sh PROGRAM DEFAULT_DATA_FOLDER}")
defaults=$(realpath "${2:?usage: hardening_hostile.sh PROGRAM DEFAULT_DATA_FOLDER}")
source "$(dirname "$0")/desktop-lib.sh"

require_tools Xvfb xdotool head od
[ -x "$program" ] || fail "no program at $program"

start_work KILL
start_xvfb 1024x768x24
export QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=detect_leaks=0
start_panel_if_installed

# Windows named like the program: the strip, and a message box when one is shown.
windows() { xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null | wc -l; }
strip_shown() { [ "$(windows)" -ge 1 ]; }
box_shown() { [ "$(windows)" -ge 2 ]; }

# run NAME EXPECT FILE BYTES...: the default folder with FILE holding BYTES (printf format).
run=0
run() {
    local name=$1 expect=$2 file=$3 format=$4
    run=$((run + 1))
    export SURFTALLY_DATA_DIR="$work/data$run"
    seed_data "$SURFTALLY_DATA_DIR" "$defaults" remain.dat=012:00:00
    if [ "$format" = "MEGABYTE" ]; then
        head -c 1048576 /dev/zero | tr '\0' '7' >"$SURFTALLY_DATA_DIR/$file"
    else
        printf -- "$format" >"$SURFTALLY_DATA_DIR/$file"
    fi
    local before
    before=$(od -An -c "$SURFTALLY_DATA_DIR/remain.dat")

    "$program" >"$work/program.log" 2>&1 &
    local pid=$!
    pids+=($pid)
    wait_until 30 strip_shown || fail "$name: the strip was not shown"
    if [ "$expect" = message ]; then
        wait_until 10 box_shown || fail "$name: no message was shown"
    fi
    sleep 3
    kill -0 "$pid" 2>/dev/null || fail "$name: the program ended"
    if [ "$expect" = quiet ] && box_shown; then
        fail "$name: a message was shown for a file that reads well"
    fi
    # Killed, not ended: an orderly end saves the balance counted on-line, and this test is
    # about what a hostile file does to the stored one.
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    ! grep -qE 'AddressSanitizer|runtime error:|LeakSanitizer' "$work/program.log" ||
        fail "$name: the sanitizers reported an error"
    [ "$(od -An -c "$SURFTALLY_DATA_DIR/remain.dat")" = "$before" ] ||
        fail "$name: remain.dat changed to $(od -An -c "$SURFTALLY_DATA_DIR/remain.dat")"
    echo "ok: $name"
}

run "empty balance file" message remain.dat ''
run "binary balance file" message remain.dat '\000\001\177\3775\000\r\n'
run "balance of 1000 hours" message remain.dat '1000:00:00\r\n'
run "balance of 999:59:59" quiet remain.dat '999:59:59\r\n'
run "minimum of a megabyte" message alarm.dat MEGABYTE
run "minimum beyond 32 bits" message alarm.dat '4294967296\r\n'
run "binary economic period" message economic.dat '\000\001:\377\r\n\000\r\n5\0000\r\n'
run "position beyond 32 bits" message position.dat '-1\r\n99999999999\r\n'
run "empty switch file" quiet hide.dat ''
run "LF line ends and byte-order marks" quiet economic.dat '\357\273\27700:00\n00:00\n0\n'
echo "PASSED"
