#!/usr/bin/env bash
# The real program ended in order while it counts on-line: SIGTERM (a shut-down), SIGHUP (the
# session or terminal goes) and SIGINT (Ctrl+C) each save the balance counted so far, not the
# last minute mark's. On-line is a veth link carrying the default route in a private network
# namespace; the program runs under Xvfb.
# Exits 77 (skipped) when the tools, root or network namespaces are missing.
# Usage: orderly_end_e2e.sh PROGRAM DEFAULT_DATA_FOLDER
set -uo pipefail

program=$(realpath "${1:?usage: orderly_end_e2e.sh PROGRAM DEFAULT_DATA_FOLDER}")
defaults=$(realpath "${2:?usage: orderly_end_e2e.sh PROGRAM DEFAULT_DATA_FOLDER}")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-lib.sh"

require_tools Xvfb xdotool unshare ip env
[ -x "$program" ] || fail "no program at $program"

go_online "$program" "$defaults"

bound=$(patient 120)
start_work TERM 30
start_xvfb 1024x768x24
export LSAN_OPTIONS="suppressions=$here/lsan.supp"

shown() { xdotool search --onlyvisible --name '^Surftally$' >/dev/null 2>&1; }
stored() { tr -d '\r\n' <"$SURFTALLY_DATA_DIR/remain.dat"; }
seconds_of() {
    [[ "$1" =~ ^([0-9]{3}):([0-5][0-9]):([0-5][0-9])$ ]] || return 1
    echo $((10#${BASH_REMATCH[1]} * 3600 + 10#${BASH_REMATCH[2]} * 60 + 10#${BASH_REMATCH[3]}))
}

for signal in TERM HUP INT; do
    export SURFTALLY_DATA_DIR="$work/data-$signal"
    seed_data "$SURFTALLY_DATA_DIR" "$defaults" remain.dat=010:00:01
    # A background job of a script ignores SIGINT; the program gets it as from a terminal.
    started=$(date +%s.%N)
    env --default-signal=INT,HUP "$program" >"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
    wait_until 30 shown || fail "$signal: the strip was not shown"
    # The minute mark one counted second after the start rewrites the file: with 010:00:00,
    # or with what it shows when a late run stepped over the mark.
    wait_until 10 eval '[ "$(stored)" != 010:00:01 ]' || fail "$signal: no minute mark: $(stored)"
    mark=$(seconds_of "$(stored)") || fail "$signal: remain.dat holds '$(stored)' at the mark"
    sleep 3  # seconds to count past the mark
    kill -s "$signal" "$program_pid"
    gone() { ! kill -0 "$program_pid" 2>/dev/null; }
    wait_until 10 gone || fail "$signal: the program still runs 10 s after the signal"
    wait "$program_pid"
    status=$?
    ended=$(date +%s.%N)
    [ "$status" -eq 0 ] || fail "$signal: the program ended with status $status"
    saved=$(seconds_of "$(stored)") || fail "$signal: remain.dat holds '$(stored)'"
    # At least the 3 s since the mark are charged, and never more than the time the program ran.
    verdict=$(awk -v s="$saved" -v m="$mark" -v b="$started" -v e="$ended" 'BEGIN {
        counted = m - s
        if (counted < 3) { print "it kept " s " s: the balance counted since the mark was lost"; exit }
        if (36001 - s > e - b + 1) { print "it charged " 36001 - s " s in " e - b " s"; exit }
        print "ok " counted }')
    [[ "$verdict" == ok* ]] || fail "$signal: $verdict"
    echo "ok: SIG$signal saved the counted balance $(stored) (${verdict#ok } s past the minute mark)"
done
echo "PASSED"
