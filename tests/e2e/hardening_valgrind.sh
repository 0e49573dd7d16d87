#!/usr/bin/env bash
# The real program under Valgrind's memcheck: on-line through a veth link in a network
# namespace (off-line where namespaces are not permitted), under Xvfb with a notification
# area, for a bounded time. Passes when memcheck reports no error and no definite leak (the
# one-time allocations of system libraries in hardening_valgrind.supp aside), and the heap in
# use, sampled after a warm-up and again some minutes later, has not grown.
# Exits 77 (skipped) when valgrind or Xvfb is missing.
# Usage: hardening_valgrind.sh PROGRAM [WARMUP_SECONDS [SPAN_SECONDS]]
set -uo pipefail

program=$(realpath "${1:?usage: hardening_valgrind.sh PROGRAM [WARMUP [SPAN]]}")
warmup=${2:-30}
span=${3:-90}
here=$(cd "$(dirname "$0")" && pwd)
data="$here/../../data"
# Growth of the heap in use between the two samples that still counts as none: caches of
# fonts and pixmaps mostly settle in the warm-up, but a glyph or two of a digit not yet drawn
# can still come later (one run saw 8.8 KB). A leak of one icon or balance save per second
# adds some 800 KB over the span, far above this.
allowed_growth=${HARDENING_ALLOWED_GROWTH:-65536}
source "$here/desktop-lib.sh"

fail_more() {
    [ -n "${work:-}" ] && [ -f "$work/memcheck.log" ] && tail -n 60 "$work/memcheck.log"
}

require_tools valgrind vgdb Xvfb xdotool
[ -x "$program" ] || fail "no program at $program"

# On-line: a private network with a veth link carrying the default route, and a sysfs that
# shows it. The script runs again inside.
if [ -z "${HARDENING_IN_NAMESPACE:-}" ]; then
    if namespaces_permitted; then
        exec unshare -n -m env HARDENING_IN_NAMESPACE=1 "$0" "$program" "$warmup" "$span"
    fi
    echo "note: network namespaces are not permitted here; the run is off-line"
else
    setup_online_namespace || fail "cannot set up the on-line network in the namespace"
    echo "on-line through eth0 (veth) in a private network namespace"
fi

bound=$(patient $((warmup + span + 240)))
start_work TERM
start_xvfb 1024x768x24
export QT_QPA_PLATFORM=xcb
start_panel_if_installed

export SURFTALLY_DATA_DIR="$work/data"
seed_data "$SURFTALLY_DATA_DIR" "$data" remain.dat=100:00:00

timeout -s KILL "$bound" valgrind --tool=memcheck --leak-check=full \
    --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
    --suppressions="$here/hardening_valgrind.supp" --child-silent-after-fork=yes \
    --num-callers=30 --vgdb=yes --vgdb-prefix="$work/vgdb" --log-file="$work/memcheck.log" \
    "$program" >"$work/program.out" 2>&1 &
valgrind_pid=$!
pids+=($valgrind_pid)
# The process under valgrind (a child of timeout), for vgdb.
memcheck_pid() { sed -n '1s/^==\([0-9]*\)==.*/\1/p' "$work/memcheck.log" 2>/dev/null; }

shown() { xdotool search --onlyvisible --name '^Surftally$' >/dev/null 2>&1; }
wait_until 90 shown || fail "the window did not appear under valgrind"
target=$(memcheck_pid)
echo "window shown; warming up for $warmup s"
sleep "$warmup"

# Bytes on the heap: every kind the leak summary counts, in use or lost.
heap_in_use() {
    vgdb --vgdb-prefix="$work/vgdb" --pid="$target" leak_check summary 2>/dev/null |
        awk '/(definitely|indirectly|possibly) lost:|still reachable:/ {
                 sub(/.*: /, ""); gsub(/,/, ""); sum += $1 } END { print sum + 0 }'
}
first=$(heap_in_use)
[ "$first" -gt 0 ] || fail "vgdb gave no leak summary"
echo "heap in use after the warm-up: $first bytes; running $span s more"
sleep "$span"
second=$(heap_in_use)
echo "heap in use $span s later: $second bytes (growth $((second - first)))"
balance=$(head -c 9 "$SURFTALLY_DATA_DIR/remain.dat")
echo "stored balance now: $balance"

# The program ends when its balance file goes (the tick closes the window); a program that
# does not is stopped.
rm -f "$SURFTALLY_DATA_DIR/remain.dat"
exited() { ! kill -0 "$valgrind_pid" 2>/dev/null; }
if ! wait_until 60 exited; then
    echo "note: the program did not end when remain.dat went; stopping it"
    kill -TERM "$valgrind_pid" 2>/dev/null
    wait_until 60 exited || fail "the program did not stop"
fi
wait "$valgrind_pid" 2>/dev/null

summary=$(grep 'ERROR SUMMARY' "$work/memcheck.log" | tail -n 1)
echo "memcheck: ${summary#*== }"
grep -q 'ERROR SUMMARY: 0 errors' "$work/memcheck.log" || fail "memcheck reported errors"
[ $((second - first)) -le "$allowed_growth" ] ||
    fail "the heap grew by $((second - first)) bytes in $span s"
echo "PASSED"
