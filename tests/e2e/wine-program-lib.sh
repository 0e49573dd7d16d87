# shellcheck shell=bash
# The installed Windows program as the wine_*_e2e scripts meet it (with desktop-lib.sh and
# wine-lib.sh, sourced here): found by its windows and its processes in the test's prefix
# (start_wine_desktop), started from its Start-menu shortcut.
wine_program_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$wine_program_lib/desktop-lib.sh"
source "$wine_program_lib/wine-lib.sh"

# wine_program_test SETUP_EXE [TOOL...]: a test of the installed program needs the display's
# and Wine's tools and these, and the installer, which is then setup (absolute).
wine_program_test() {
    require_tools Xvfb trayer xdotool xwininfo import wine wineserver "${@:2}"
    [ -f "$1" ] || fail "no installer at $1"
    # shellcheck disable=SC2034 # the caller's
    setup=$(realpath "$1")
}

# The strip is the visible window titled "Surftally" that is strip_width pixels wide (120 at
# 96 DPI; a script that scales the screen sets it); an error box has the same title.
strip_width=120
width_of() { xwininfo -id "$1" 2>/dev/null | sed -n 's/.*Width: *//p'; }
strip_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null); do
        [ "$(width_of "$id")" = "$strip_width" ] && echo "$id" && return 0
    done
    return 1
}
strip_shown() { strip_window >/dev/null; }
# error_box: the id of a shown error box; error_boxes: how many are shown.
error_box() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null); do
        [ "$(width_of "$id")" = "$strip_width" ] || { echo "$id" && return 0; }
    done
    return 1
}
error_boxes() {
    local id n=0
    for id in $(xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null); do
        [ "$(width_of "$id")" = "$strip_width" ] || n=$((n + 1))
    done
    echo $n
}
box_shown() { error_box >/dev/null; }

# The installed program's processes in this prefix.
program_pids() {
    local pid
    for pid in $(pgrep -f 'Program Files.Surftally.Program.surftally\.exe'); do
        { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
    done
}
program_count() { program_pids | wc -l; }
program_running() { [ "$(program_count)" -gt 0 ]; }

# shortcut PATH: the installed shortcut at PATH below a Start menu's Programs, if any.
shortcut() { find "$WINEPREFIX/drive_c" -path "*/Start Menu/Programs/$1" 2>/dev/null | head -n 1; }
# start_from_menu: the program started from its Start-menu shortcut, waited for until its
# strip is shown.
start_from_menu() {
    timeout "$bound" wine start /unix "$(shortcut Surftally.lnk)" >>"$work/program.log" 2>&1
    wait_until 30 strip_shown || fail "the program did not show its strip"
}
