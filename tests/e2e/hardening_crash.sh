#!/usr/bin/env bash
# The real program killed (SIGKILL) on-line at random moments, some of them right at a minute
# mark when it saves, and started again each time: the stored balance is always a whole
# balance text, never rises, never charges more than the time that passed, and never trails
# what the program showed by more than a minute of counted time.
# On-line is a veth link carrying the default route in a private network namespace; the
# program runs under Xvfb with a notification area.
# Exits 77 (skipped) when the tools, root or network namespaces are missing.
# Usage: hardening_crash.sh PROGRAM DEFAULT_DATA_FOLDER [KILLS]
set -uo pipefail

program=$(realpath "${1:?usage: hardening_crash.sh PROGRAM DEFAULT_DATA_FOLDER [KILLS]}")
defaults=$(realpath "${2:?usage: hardening_crash.sh PROGRAM DEFAULT_DATA_FOLDER [KILLS]}")
kills=${3:-4}
source "$(dirname "$0")/desktop-lib.sh"

require_tools Xvfb xdotool unshare ip
[ -x "$program" ] || fail "no program at $program"

if [ -z "${HARDENING_IN_NAMESPACE:-}" ]; then
    require_namespaces
    exec unshare -n -m env HARDENING_IN_NAMESPACE=1 "$0" "$program" "$defaults" "$kills"
fi
setup_online_namespace || fail "cannot set up the on-line network in the namespace"

start_work KILL
start_xvfb 1024x768x24
export QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=detect_leaks=0
start_panel_if_installed

export SURFTALLY_DATA_DIR="$work/data"
seed_data "$SURFTALLY_DATA_DIR" "$defaults" remain.dat=100:00:05

now() { date +%s.%N; }
# The stored balance in seconds; fails unless the file is exactly one balance text and CR LF.
stored_seconds() {
    local bytes
    bytes=$(od -An -c "$SURFTALLY_DATA_DIR/remain.dat" | tr -d ' \n')
    [[ "$bytes" =~ ^([0-9]{3}):([0-5][0-9]):([0-5][0-9])\\r\\n$ ]] || return 1
    echo $((10#${BASH_REMATCH[1]} * 3600 + 10#${BASH_REMATCH[2]} * 60 + 10#${BASH_REMATCH[3]}))
}
shown() { xdotool search --onlyvisible --name '^Surftally$' >/dev/null 2>&1; }

seed=${HARDENING_SEED:-$RANDOM}
RANDOM=$seed
echo "seed $seed; $kills kills"
before=$(stored_seconds) || fail "the first balance file is not a balance text"
for ((kill = 1; kill <= kills; kill++)); do
    start=$(now)
    "$program" >"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
    wait_until 30 shown || fail "kill $kill: the strip was not shown"
    up=$(now)
    # Every other kill falls within a second and a half of the next minute mark, when the
    # program writes the balance; the others at any moment of its first minute and a bit.
    if ((kill % 2 == 0)); then
        mark=$((before % 60))
        ((mark == 0)) && mark=60
        offset=$(awk -v m="$mark" -v r="$RANDOM" 'BEGIN { printf "%.3f", m - 1.5 + 3 * r / 32767 }')
    else
        offset=$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", 0.3 + 65 * r / 32767 }')
    fi
    awk -v s="$start" -v o="$offset" -v n="$(now)" 'BEGIN { d = s + o - n; if (d > 0) system("sleep " d) }'
    killed=$(now)
    kill -9 "$program_pid"
    wait "$program_pid" 2>/dev/null

    after=$(stored_seconds) ||
        fail "kill $kill: remain.dat holds $(od -An -c "$SURFTALLY_DATA_DIR/remain.dat")"
    # The program counted at most the time since it started, so what it showed was at least
    # before - elapsed; it counted at least the time since its window appeared, less one run.
    verdict=$(awk -v b="$before" -v a="$after" -v s="$start" -v u="$up" -v k="$killed" 'BEGIN {
        elapsed = k - s; startup = u - s
        lag = a - (b - elapsed)
        if (a > b) { print "the balance rose from " b " to " a; exit }
        if (b - a > elapsed + 1) { print "charged " b - a " s in " elapsed " s"; exit }
        if (lag > 60 + startup + 1.5) { print "the stored balance trails the shown one by up to " lag " s"; exit }
        printf "ok %.1f s after start (%.1f s to show): stored %d, charged %d s, lag at most %.1f s\n",
               elapsed, startup, a, b - a, lag - startup }')
    [[ "$verdict" == ok* ]] || fail "kill $kill: $verdict"
    echo "kill $kill $verdict"
    before=$after
done
echo "PASSED"
