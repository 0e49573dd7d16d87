#!/usr/bin/env bash
# Whole-process figures of the Windows program beside a bare Win32 window of the same size and
# kind, measured in the same run under Wine on Xvfb: the size of the executable, start-up
# until the window is shown and resident memory after 10 s, each with its ratio to the bare
# window's. Both run in one fresh Wine prefix whose server and desktop are started before
# either is measured.
# Usage: windows_bench.sh PATH_TO_SURFTALLY_EXE PATH_TO_BARE_WINDOW_EXE DEFAULT_DATA_FOLDER
set -uo pipefail

program=$(realpath "${1:?usage: windows_bench.sh SURFTALLY_EXE BARE_WINDOW_EXE DATA}")
bare=$(realpath "${2:?}")
defaults=$(realpath "${3:?}")
root=$(cd "$(dirname "$0")/../.." && pwd)

echo
echo "Windows program"
printf '%-28s %10s\n' "" "bytes"
printf '%-28s %10d\n' "surftally.exe" "$(stat -c %s "$program")"
printf '%-28s %10d\n' "bare Win32 window" "$(stat -c %s "$bare")"
if [ -f "$(dirname "$program")/surftally-setup.exe" ]; then
    printf '%-28s %10d\n' "surftally-setup.exe" "$(stat -c %s "$(dirname "$program")/surftally-setup.exe")"
fi

for tool in Xvfb xdotool wine wineserver bc; do
    command -v "$tool" >/dev/null 2>&1 || { echo "Wine bench skipped: $tool is missing"; exit 0; }
done

source "$root/tests/e2e/desktop-lib.sh"
source "$root/tests/e2e/wine-lib.sh"
skip() {
    echo "Wine bench skipped: $*"
    exit 0
}
bound=240
start_work TERM 30
start_xvfb 1024x768x24
start_wine || skip "no prefix"

now() { date +%s.%N; }
rss() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# The server stays up between the programs, and the desktop process that Wine starts with the
# first window is started before anything is measured.
wineserver -p
timeout "$bound" wine "$bare" >/dev/null 2>&1 &
warm=$!
for _ in $(seq 600); do shown '^Bare$' && break; sleep 0.05; done
kill "$warm" 2>/dev/null
wait "$warm" 2>/dev/null
for _ in $(seq 100); do shown '^Bare$' || break; sleep 0.05; done

data="$work/data"
mkdir -p "$data"
cp "$defaults"/*.dat "$defaults"/*.ico "$data/"
printf '500:00:00\r\n' >"$data/remain.dat"
windows_data=$(winepath -w "$data" 2>/dev/null)

# start NAME TITLE EXE: starts the program, waits until a window of that title is shown and
# records the start-up time.
declare -A pid startup
start() {
    local name=$1 title=$2 exe=$3 t0
    t0=$(now)
    SURFTALLY_DATA_DIR="$windows_data" timeout "$bound" wine "$exe" >"$work/$name.log" 2>&1 &
    local outer=$!
    pids+=($outer)
    for _ in $(seq 2000); do shown "$title" && break; sleep 0.005; done
    startup[$name]=$(echo "$(now) - $t0" | bc)
    # The measured process: the program itself, below timeout.
    pid[$name]=$(pgrep -P "$outer" | head -n 1)
}

start bare '^Bare$' "$bare"
sleep 1
start program '^Surftally$' "$program"
sleep 10
declare -A memory
for name in bare program; do memory[$name]=$(rss "${pid[$name]}"); done
# ratio A B: A / B, or "-" when B is zero.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "-" }'; }
echo
echo "Under Wine (same Xvfb, same prefix, same run; ratios: program / bare)"
printf '%-28s %10s %6s %12s %6s\n' "" "start-up s" "ratio" "RSS KiB@10s" "ratio"
printf '%-28s %10.3f %6s %12d %6s\n' "bare Win32 window 120x25" "${startup[bare]}" "" \
    "${memory[bare]}" ""
printf '%-28s %10.3f %6s %12d %6s\n' "surftally.exe" "${startup[program]}" \
    "$(ratio "${startup[program]}" "${startup[bare]}")" "${memory[program]}" \
    "$(ratio "${memory[program]}" "${memory[bare]}")"
