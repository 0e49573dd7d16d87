# shellcheck shell=bash
# Shared parts of the end-to-end scripts: a temporary folder and the processes a test starts
# (ended on exit), a seeded data folder, the program started on it, an Xvfb display with
# openbox and a trayer notification area, and a network namespace.
# Sourced by the scripts after `set -uo pipefail`. Where a script sets `bound`, Xvfb, trayer
# and the program run under `timeout $bound`, so they end by themselves even if the test is
# killed without a chance to clean up.

lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# fail WHAT: the test fails. The program's last output follows, then what the script's
# fail_more prints, and where there is a display a screenshot to $failure_shot.
failure_shot="/tmp/surftally-$(basename "$0" .sh)-failure.png"
fail() {
    echo "FAILED: $*"
    if [ -n "${work:-}" ] && [ -f "$work/program.log" ]; then
        echo "--- program output:"
        tail -n 20 "$work/program.log"
    fi
    if declare -F fail_more >/dev/null; then fail_more; fi
    if [ -n "${work:-}" ] && [ -n "${DISPLAY:-}" ] &&
        import -window root "$failure_shot" 2>/dev/null; then
        echo "--- screen at the failure: $failure_shot"
    fi
    exit 1
}

skip() {
    echo "SKIPPED: $*"
    exit 77
}

# require_tools TOOL...: skips unless every TOOL is on PATH.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps installs it)"
    done
}

# namespaces_permitted: root, and the machine allows network and mount namespaces.
namespaces_permitted() { [ "$(id -u)" -eq 0 ] && unshare -n -m true 2>/dev/null; }
require_namespaces() {
    [ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
    unshare -n -m true 2>/dev/null || skip "this machine does not permit network and mount namespaces"
}

# setup_online_namespace: inside a fresh `unshare -n -m`, a private sysfs and a veth link eth0
# carrying the default route, so the machine counts as on-line through a LAN.
setup_online_namespace() {
    mount --make-rprivate / &&
        mount -t sysfs sysfs /sys &&
        ip link set lo up &&
        ip link add eth0 type veth peer name peer0 &&
        ip link set peer0 up && ip link set eth0 up &&
        ip addr add 10.9.0.1/24 dev eth0 &&
        ip route add default via 10.9.0.2 dev eth0
}

# go_online ARGS...: runs the calling script again with ARGS in a network and mount namespace
# of its own, once, and there sets it on-line (setup_online_namespace). Skips where namespaces
# are not permitted.
go_online() {
    if [ -z "${SURFTALLY_ONLINE_NAMESPACE:-}" ]; then
        require_namespaces
        exec unshare -n -m env SURFTALLY_ONLINE_NAMESPACE=1 "$0" "$@"
    fi
    setup_online_namespace || fail "cannot set up the on-line network in the namespace"
}

# start_work SIGNAL [GRACE]: makes $work and the list pids; on exit every process in pids gets
# SIGNAL (newest first) and is waited for, after GRACE tenths of a second with SIGKILL when
# GRACE is given; then the commands in at_exit run, then cleanup_more if the script defines
# it, and $work goes.
at_exit=()
start_work() {
    stop_signal=$1
    stop_grace=${2:-}
    work=$(mktemp -d)
    pids=()
    trap cleanup EXIT
    trap 'exit 1' INT TERM
}
cleanup() {
    local pid i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill -s "$stop_signal" "${pids[i]}" 2>/dev/null
    done
    for pid in "${pids[@]}"; do
        if [ -n "$stop_grace" ]; then
            for _ in $(seq "$stop_grace"); do
                kill -0 "$pid" 2>/dev/null || break
                sleep 0.1
            done
            kill -9 "$pid" 2>/dev/null
        fi
        wait "$pid" 2>/dev/null
    done
    for i in "${!at_exit[@]}"; do "${at_exit[i]}"; done
    if declare -F cleanup_more >/dev/null; then cleanup_more; fi
    rm -rf "$work"
}

# wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds or time is up.
# The bound is a ceiling, not a pace: a loaded machine (a build beside the tests, busy loops)
# may take several times as long, so every bound stretches by SURFTALLY_E2E_PATIENCE (3).
wait_until() {
    local tenths=$(($1 * 10 * ${SURFTALLY_E2E_PATIENCE:-3}))
    shift
    for ((t = 0; t < tenths; t++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# The command prefix that bounds a process's life by $bound, if the script set it.
bounded() {
    limit=()
    if [ -n "${bound:-}" ]; then limit=(timeout "$bound"); fi
}

# patient SECONDS: a life bound for the test's processes, stretched as wait_until's bounds are.
patient() { echo $(($1 * ${SURFTALLY_E2E_PATIENCE:-3})); }

# start_xvfb SCREEN: an X server of SCREEN (WxHxDEPTH) on a free display, which it writes to
# $work/display; exports DISPLAY and a private XDG_RUNTIME_DIR. Skips if it does not start.
start_xvfb() {
    bounded
    "${limit[@]}" Xvfb -displayfd 4 -screen 0 "$1" -nolisten tcp 4>"$work/display" 2>"$work/xvfb.err" &
    pids+=($!)
    wait_until 10 display_known || skip "Xvfb did not start: $(tail -n 3 "$work/xvfb.err")"
    export DISPLAY=":$(head -n 1 "$work/display")"
    unset DBUS_SESSION_BUS_ADDRESS # icons embed the X11 way, not through a D-Bus host
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
}
display_known() { grep -q '^[0-9]' "$work/display" 2>/dev/null; }

# start_trayer WIDTH_OPTIONS...: a 32-pixel notification area at the bottom right; its pid
# is trayer_pid, its output in $work/trayer.log.
start_trayer() {
    bounded
    "${limit[@]}" trayer --edge bottom --align right "$@" --height 32 >"$work/trayer.log" 2>&1 &
    trayer_pid=$!
    pids+=($trayer_pid)
}
has_panel() { xwininfo -root -tree 2>/dev/null | grep -q '"panel": ("panel" "trayer")'; }
# start_panel WIDTH_OPTIONS...: trayer, waited for; skips if it does not start.
start_panel() {
    start_trayer "$@"
    wait_until 10 has_panel || skip "trayer did not start: $(tail -n 3 "$work/trayer.log")"
}
# start_panel_if_installed: a notification area where the test can do without one.
start_panel_if_installed() {
    if command -v trayer >/dev/null 2>&1; then
        start_trayer --widthtype pixel --width 200
        sleep 1
    fi
}

# start_openbox: the openbox window manager on $DISPLAY, waited for until it has announced
# itself (_NET_SUPPORTING_WM_CHECK); skips if it does not start.
start_openbox() {
    bounded
    "${limit[@]}" openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wait_until 10 has_wm || skip "openbox did not start: $(tail -n 3 "$work/openbox.log")"
}
has_wm() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# start_openbox_desktop SCREEN BOUND: the test's folder (start_work, TERM with 3 s of grace),
# Xvfb of SCREEN with openbox, and the off-line prefix for the program (offline_prefix); every
# process the test starts ends by itself after BOUND seconds, stretched (patient), at the latest.
start_openbox_desktop() {
    bound=$(patient "$2")
    start_work TERM 30
    start_xvfb "$1"
    start_openbox
    offline_prefix
}

# start_session_bus: a private D-Bus session bus on a path in $work (a program in a network
# namespace of its own has no abstract sockets), exported as DBUS_SESSION_BUS_ADDRESS; skips
# if it does not start.
start_session_bus() {
    bounded
    "${limit[@]}" dbus-daemon --session --nofork --address="unix:path=$work/bus" \
        --print-address=5 5>"$work/bus.address" >/dev/null 2>&1 &
    pids+=($!)
    wait_until 10 test -s "$work/bus.address" || skip "dbus-daemon did not start"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
}
# start_watcher: a D-Bus notification area (sni_watcher.py: a StatusNotifierWatcher and host)
# on the session bus, waited for; its pid is watcher_pid, its output in $work/watcher.log.
start_watcher() {
    bounded
    "${limit[@]}" /usr/bin/python3 "$lib_dir/sni_watcher.py" >"$work/watcher.log" 2>&1 &
    watcher_pid=$!
    pids+=("$watcher_pid")
    wait_until 10 grep -q '^WATCHING' "$work/watcher.log" || fail "the watcher did not start"
}

# offline_prefix: the command prefix that runs a program off-line, in a network namespace of
# its own with a fresh sysfs and no route, when the machine permits it; empty otherwise, and
# then the host's own connection decides.
offline=()
offline_prefix() {
    offline=()
    if namespaces_permitted; then
        offline=(unshare -n -m --propagation private sh -c
            'mount -t sysfs sysfs /sys && ip link set lo up && exec "$0" "$@"')
    fi
}

# program_and_defaults PROGRAM DEFAULTS: a script's two arguments as program and defaults,
# made absolute; fails where they are missing or no program is there.
program_and_defaults() {
    [ $# -ge 2 ] || fail "usage: $(sed -n 's/^# Usage: //p' "$0")"
    [ -x "$1" ] || fail "no program at $1"
    program=$(realpath "$1")
    defaults=$(realpath "$2")
}

# seed_data FOLDER DEFAULTS [FILE=LINES...]: a data folder with the defaults and a balance of
# 010:00:05, then each FILE holding LINES (blank-separated words, one a line, CR LF ended;
# none for an empty file).
seed_data() {
    local folder=$1 defaults=$2 file lines
    shift 2
    mkdir -p "$folder"
    cp "$defaults"/*.dat "$defaults"/*.ico "$folder/"
    printf '010:00:05\r\n' >"$folder/remain.dat"
    for file in "$@"; do
        read -r -a lines <<<"${file#*=}"
        if [ ${#lines[@]} -eq 0 ]; then
            : >"$folder/${file%%=*}"
        else
            printf '%s\r\n' "${lines[@]}" >"$folder/${file%%=*}"
        fi
    done
}
# new_data [FILE=LINES...]: the next fresh data folder of this run ($work/dataN, N counted in
# run) seeded from $defaults; its path is data.
run=0
new_data() {
    run=$((run + 1))
    data="$work/data$run"
    seed_data "$data" "$defaults" "$@"
}

# holds FILE LINE...: FILE holds exactly these lines, each CR LF ended, as the program writes
# its data files (wait for it with wait_until).
holds() { [ "$(cat "$1" 2>/dev/null)" = "$(printf '%s\r\n' "${@:2}")" ]; }

# run_program DATA [NAME=VALUE...]: $program on the data folder DATA, with the leak checker's
# suppressions and the given environment, in the background under $offline (see
# offline_prefix) and bounded by $bound; its output goes to $work/program.log and its pid is
# program_pid.
run_program() {
    local folder=$1
    shift
    bounded
    env SURFTALLY_DATA_DIR="$folder" LSAN_OPTIONS="suppressions=$lib_dir/lsan.supp" "$@" \
        "${limit[@]}" "${offline[@]}" "$program" >>"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=("$program_pid")
}
# show_program [NAME=VALUE...]: run_program on $data, waited for until the strip is shown;
# its window is window.
show_program() {
    run_program "$data" "$@"
    wait_until 30 strip_shown || fail "the strip was not shown (run $run)"
    window=$(strip_window)
}
# stop_program [PID]: ends the program (or PID) and waits for it.
stop_program() {
    kill "${1:-$program_pid}" 2>/dev/null
    wait "${1:-$program_pid}" 2>/dev/null
}
# gone [PID]: the program (or PID) has ended.
gone() { ! kill -0 "${1:-$program_pid}" 2>/dev/null; }

# window_geometry WINDOW: "X Y WIDTH HEIGHT" of a window, on the screen.
window_geometry() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    printf '%s %s %s %s\n' "$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")" \
        "$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")" \
        "$(sed -n 's/.*Width: *//p' <<<"$info")" "$(sed -n 's/.*Height: *//p' <<<"$info")"
}

# screen_pixel X Y: the colour of one pixel of the X screen, as #RRGGBB.
screen_pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}'; }
pixel_is() { [ "$(screen_pixel "$1" "$2")" = "$3" ]; }

# panel_geometry: "WIDTHxHEIGHT+X+Y" of trayer's panel.
panel_geometry() {
    xwininfo -root -tree | grep '"panel": ("panel" "trayer")' | grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' | head -n 1
}
# icon_drawn: the panel shows a picture, 40 pixels or more off its background colour. An icon
# takes no click before its program has drawn it, nor would a user click an empty place.
icon_drawn() {
    import -window root -crop "$(panel_geometry)" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' |
        sort | uniq -c | sort -rn | awk 'NR > 1 {off += $1} END {exit !(off >= 40)}'
}

# click_icon: a left click at the middle of trayer's panel, where the program's icon stands.
click_icon() {
    local pw ph px py
    read -r pw ph px py <<<"$(panel_geometry | tr 'x+' '  ')"
    xdotool mousemove --sync $((px + pw / 2)) $((py + ph / 2)) click 1
}
# check_icon_toggles_strip: a click on the icon hides the shown strip, the next shows it.
check_icon_toggles_strip() {
    click_icon
    wait_until 3 eval '! strip_shown' || fail "a click on the icon did not hide the strip"
    sleep 0.7
    xdotool click 1
    wait_until 3 strip_shown || fail "a second click on the icon did not show the strip"
    echo "ok: a click on the icon hides and shows the strip"
}

# strip_window: the id of the shown strip, empty while none is shown.
strip_window() { xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null | head -n 1; }
strip_shown() { [ -n "$(strip_window)" ]; }
# settings_window: the id of the shown settings dialog, empty while none is shown.
settings_window() { xdotool search --onlyvisible --name '^ Settings - Surftally$' 2>/dev/null | head -n 1; }
settings_shown() { [ -n "$(settings_window)" ]; }
# managed WINDOW: the window manager holds WINDOW (not override-redirect, in _NET_CLIENT_LIST).
managed() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: no' &&
        xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$1")"
}
# click_in WINDOW X Y: a left click at X/Y inside WINDOW's client area.
click_in() {
    local wx wy _
    read -r wx wy _ <<<"$(window_geometry "$1")"
    xdotool mousemove --sync $((wx + $2)) $((wy + $3)) click 1
}
