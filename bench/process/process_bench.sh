#!/usr/bin/env bash
# Whole-process figures of the program beside a bare Qt window of the same size, measured in
# the same run under Xvfb: start-up until the window is shown, resident memory after 10 s,
# processor time and wake-ups (context switches of all threads) over 60 s on-line and off-line,
# each with its ratio to the bare window's, remain.dat writes per minute on-line, and
# what each program sends on a session bus with a D-Bus notification area (a watcher and
# host, tests/e2e/sni_watcher.py): item signals and new bus connections per minute.
# On-line and off-line are real: each program runs in its own network namespace, on-line with
# a veth pair carrying the default route. Needs root for the namespaces; without it only the
# off-line figures of the host are taken.
# Usage: process_bench.sh PATH_TO_SURFTALLY PATH_TO_BARE_WINDOW DEFAULT_DATA_FOLDER
set -uo pipefail

program=$(realpath "${1:?usage: process_bench.sh SURFTALLY BARE_WINDOW DATA}")
bare=$(realpath "${2:?}")
defaults=$(realpath "${3:?}")
seconds=${SURFTALLY_BENCH_SECONDS:-60}

for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "process bench skipped: $tool is missing"; exit 0; }
done
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/desktop-lib.sh"
skip() {
    echo "process bench skipped: $*"
    exit 0
}
namespaces=1
namespaces_permitted || namespaces=0

links=()
cleanup_more() {
    local link
    for link in "${links[@]}"; do ip link del "$link" 2>/dev/null; done
}
bound=$((seconds + 60))
start_work TERM
start_xvfb 1024x768x24
# A session bus on a path (the programs' network namespaces have no abstract sockets), with a
# D-Bus notification area on it.
dbus=0
if command -v dbus-daemon >/dev/null 2>&1 && /usr/bin/python3 -c 'import dbus, gi' 2>/dev/null; then
    start_session_bus
    start_watcher
    dbus=1
fi

now() { date +%s.%N; }
ticks_per_second=$(getconf CLK_TCK)
# cpu PID: processor time of the process in seconds: its threads' run time in nanoseconds where
# the kernel keeps it (scheduler statistics), else user + system time in clock ticks.
cpu() {
    if [ -r "/proc/$1/schedstat" ]; then
        cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%.4f\n", n / 1e9 }'
    else
        awk -v hz="$ticks_per_second" '{ print ($14 + $15) / hz }' "/proc/$1/stat"
    fi
}
rss() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }
# switches PID: the context switches (voluntary and involuntary) of every thread of the process
# so far; each is one wake-up or one preemption.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'
}
# ratio A B: A / B, or "-" when B is zero.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "-" }'; }
# shown TITLE COUNT: at least COUNT windows with that title are shown.
shown() { [ "$(xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l)" -ge "$2" ]; }

# namespace NAME ONLINE NUMBER: a network namespace whose holder's pid goes to $holder;
# on-line with eth0 carrying the default route.
namespace() {
    local name=$1 online=$2
    timeout "$bound" unshare -n -m --propagation private \
        sh -c 'mount -t sysfs sysfs /sys && ip link set lo up && exec sleep '"$bound" >/dev/null 2>&1 &
    pids+=($!)
    local outer=$!
    holder=""
    for _ in $(seq 50); do
        holder=$(pgrep -P "$outer" -x sleep) && break
        sleep 0.1
    done
    if [ "$online" = 1 ]; then
        ip link add "sb$$$name" type veth peer name "sb$$${name}p"
        links+=("sb$$$name")
        ip link set "sb$$${name}p" netns "$holder"
        ip link set "sb$$$name" up
        nsenter -t "$holder" -n -m -- sh -c "ip link set sb$$${name}p name eth0 &&
            ip addr add 10.232.$3.2/24 dev eth0 && ip link set eth0 up &&
            ip route add default dev eth0"
    fi
}

# start NAME TITLE COUNT HOLDER COMMAND...: starts a process (in a namespace when HOLDER is
# set), waits until COUNT windows of that title are shown and records the start-up time.
declare -A pid startup
start() {
    local name=$1 title=$2 count=$3 holder=$4
    shift 4
    local data="$work/data-$name"
    mkdir -p "$data"
    cp "$defaults"/*.dat "$defaults"/*.ico "$data/"
    printf '500:00:00\r\n' >"$data/remain.dat"
    local t0 prefix=()
    [ -n "$holder" ] && prefix=(nsenter -t "$holder" -n -m --)
    t0=$(now)
    SURFTALLY_DATA_DIR="$data" timeout "$bound" "${prefix[@]}" "$@" >"$work/$name.log" 2>&1 &
    pids+=($!)
    local outer=$!
    for _ in $(seq 1000); do shown "$title" "$count" && break; sleep 0.005; done
    startup[$name]=$(echo "$(now) - $t0" | bc)
    # The measured process: the program itself, below timeout and nsenter.
    local p=$outer
    for _ in 1 2; do
        local child
        child=$(pgrep -P "$p" | head -n 1) && p=$child
    done
    pid[$name]=$p
}

start bare '^Bare$' 1 "" "$bare"
sleep 1
if [ "$namespaces" = 1 ]; then
    namespace on 1 1
    start online '^Surftally$' 1 "$holder" "$program"
    sleep 1
    namespace off 0 2
    start offline '^Surftally$' 2 "$holder" "$program"
else
    start offline '^Surftally$' 1 "" "$program"
fi

sleep 10
declare -A memory cpu0 cpu1 wake0 wake1
for name in "${!pid[@]}"; do memory[$name]=$(rss "${pid[$name]}"); done

# Processor time and balance writes over the measuring window. Every write replaces the file,
# so each write gives remain.dat a new inode.
for name in "${!pid[@]}"; do
    cpu0[$name]=$(cpu "${pid[$name]}")
    wake0[$name]=$(switches "${pid[$name]}")
done
if [ "$dbus" = 1 ]; then
    timeout $((seconds + 10)) /usr/bin/python3 "$here/dbus_count.py" "$seconds" >"$work/dbus.count" 2>/dev/null &
    counter=$!
fi
writes=0
last=$(stat -c %i "$work/data-online/remain.dat" 2>/dev/null)
end=$(($(date +%s) + seconds))
while [ "$(date +%s)" -lt "$end" ]; do
    inode=$(stat -c %i "$work/data-online/remain.dat" 2>/dev/null)
    if [ -n "$inode" ] && [ "$inode" != "$last" ]; then
        writes=$((writes + 1))
        last=$inode
    fi
    sleep 0.2
done
for name in "${!pid[@]}"; do
    cpu1[$name]=$(cpu "${pid[$name]}")
    wake1[$name]=$(switches "${pid[$name]}")
done
[ "$dbus" = 1 ] && wait "$counter"

# Processor time per measured window and wake-ups per second, each with its ratio to the bare
# window's (program / bare).
declare -A used wakes
for name in "${!pid[@]}"; do
    used[$name]=$(echo "${cpu1[$name]} - ${cpu0[$name]}" | bc)
    wakes[$name]=$(awk -v a="${wake0[$name]}" -v b="${wake1[$name]}" -v s="$seconds" \
        'BEGIN { printf "%.2f", (b - a) / s }')
done
row() {
    local name=$1 label=$2 cpuRatio="" wakeRatio=""
    [ -n "${pid[$name]:-}" ] || return 0
    if [ "$name" != bare ]; then
        cpuRatio=$(ratio "${used[$name]}" "${used[bare]}")
        wakeRatio=$(ratio "${wakes[$name]}" "${wakes[bare]}")
    fi
    printf '%-28s %10.3f %12d %10.3f %6s %10.2f %6s\n' "$label" "${startup[$name]}" \
        "${memory[$name]}" "${used[$name]}" "$cpuRatio" "${wakes[$name]}" "$wakeRatio"
}
echo
echo "Whole process, ${seconds} s window (same Xvfb, same run; ratios: program / bare)"
printf '%-28s %10s %12s %10s %6s %10s %6s\n' "" "start-up s" "RSS KiB@10s" "CPU s/${seconds}s" "ratio" \
    "wake-ups/s" "ratio"
row bare "bare Qt window 120x25"
row online "surftally on-line (LAN)"
row offline "surftally off-line"
if [ "$namespaces" = 1 ]; then
    echo "remain.dat writes on-line: $writes in ${seconds} s"
else
    echo "remain.dat writes on-line: not measured (network namespaces need root)"
fi
# dbus_row NAME LABEL: item signals and new bus connections of that program in the window.
dbus_row() {
    local name=$1 label=$2 line signals connections
    [ -n "${pid[$name]:-}" ] || return 0
    line=$(grep "^${pid[$name]} " "$work/dbus.count")
    signals=$(sed -n 's/.*signals=\([0-9]*\).*/\1/p' <<<"$line")
    connections=$(sed -n 's/.*connections=\([0-9]*\).*/\1/p' <<<"$line")
    printf '%-28s %10d %12d\n' "$label" "${signals:-0}" "${connections:-0}"
}
if [ "$dbus" = 1 ]; then
    echo
    echo "D-Bus with a StatusNotifierItem area, ${seconds} s window"
    printf '%-28s %10s %12s\n' "" "signals" "connections"
    dbus_row online "surftally on-line (LAN)"
    dbus_row offline "surftally off-line"
else
    echo "D-Bus: not measured (dbus-daemon or python3-dbus missing)"
fi
