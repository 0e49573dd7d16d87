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

skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAILED: $*"
    [ -n "${work:-}" ] && [ -f "$work/program.log" ] && tail -n 20 "$work/program.log"
    exit 1
}

for tool in Xvfb xdotool unshare ip; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps installs it)"
done
[ -x "$program" ] || fail "no program at $program"

if [ -z "${HARDENING_IN_NAMESPACE:-}" ]; then
    [ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
    unshare -n -m true 2>/dev/null || skip "this machine does not permit network and mount namespaces"
    exec unshare -n -m env HARDENING_IN_NAMESPACE=1 "$0" "$program" "$defaults" "$kills"
fi
mount --make-rprivate / &&
    mount -t sysfs sysfs /sys &&
    ip link set lo up &&
    ip link add eth0 type veth peer name peer0 &&
    ip link set peer0 up && ip link set eth0 up &&
    ip addr add 10.9.0.1/24 dev eth0 &&
    ip route add default via 10.9.0.2 dev eth0 ||
    fail "cannot set up the on-line network in the namespace"

work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill -9 "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

wait_until() {
    local tenths=$(($1 * 10))
    shift
    for ((t = 0; t < tenths; t++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$work/display" 2>"$work/xvfb.err" &
pids+=($!)
display_known() { grep -q '^[0-9]' "$work/display"; }
wait_until 10 display_known || skip "Xvfb did not start: $(tail -n 3 "$work/xvfb.err")"
export DISPLAY=":$(head -n 1 "$work/display")"
unset DBUS_SESSION_BUS_ADDRESS
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=detect_leaks=0
if command -v trayer >/dev/null 2>&1; then
    trayer --edge bottom --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
fi

export SURFTALLY_DATA_DIR="$work/data"
mkdir "$SURFTALLY_DATA_DIR"
cp "$defaults"/*.dat "$defaults"/*.ico "$SURFTALLY_DATA_DIR/"
printf '100:00:05\r\n' >"$SURFTALLY_DATA_DIR/remain.dat"

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
