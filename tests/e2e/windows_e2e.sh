#!/usr/bin/env bash
# The Windows program as a new user meets it: a fresh Wine prefix on Xvfb with a real
# notification area (trayer, where Wine docks its icons), the program installed by its own
# installer (/S), started from its Start-menu shortcut, its strip and icon checked by screenshot
# pixels and driven by xdotool; a reinstall keeps the balance, the uninstaller keeps the data.
# Exits 77 (skipped) when the tools or the X server are missing.
# Usage: windows_e2e.sh SURFTALLY_SETUP_EXE DEFAULT_DATA_FOLDER
set -uo pipefail

setup=${1:?usage: windows_e2e.sh SURFTALLY_SETUP_EXE DEFAULT_DATA_FOLDER}
defaults=${2:?usage: windows_e2e.sh SURFTALLY_SETUP_EXE DEFAULT_DATA_FOLDER}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/desktop-lib.sh"

fail() {
    echo "FAILED: $*"
    [ -n "${work:-}" ] && import -window root "/tmp/surftally-windows-e2e-failure.png" 2>/dev/null &&
        echo "--- screen at the failure: /tmp/surftally-windows-e2e-failure.png"
    exit 1
}

require_tools Xvfb trayer xdotool xwininfo import wine wineserver cmp
[ -f "$setup" ] || fail "no installer at $setup"
setup=$(realpath "$setup")
defaults=$(realpath "$defaults")

# Every process the test starts ends by itself after this many seconds, even if the test is
# killed without a chance to clean up.
bound=300
start_work TERM 30
cleanup_more() { timeout 30 wineserver -k >/dev/null 2>&1; }

# A prefix of its own, and a home of its own for whatever Wine writes there.
export LC_ALL=C.UTF-8
export HOME="$work/home"
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$HOME"

start_xvfb 1024x768x24
start_panel --widthtype request
"$root/scripts/wine-prefix" >"$work/prefix.log" 2>&1 || fail "no Wine prefix: $(tail -n 3 "$work/prefix.log")"

folder="$WINEPREFIX/drive_c/Program Files/Surftally"
top=701 # screen height - 67

pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}'; }
is_colour() { [ "$(pixel "$1" "$2")" = "$3" ]; }
# count_colour GEOMETRY COLOUR: how many pixels of the screen's GEOMETRY have COLOUR.
count_colour() { import -window root -crop "$1" -depth 8 txt:- 2>/dev/null | grep -c "$2"; }
has_colour() { [ "$(count_colour "$1" "$2")" -ge "${3:-1}" ]; }
strip_window() { xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null | head -n 1; }
strip_shown() { [ -n "$(strip_window)" ]; }
# The installed program's processes in this prefix.
program_running() {
    local pid
    for pid in $(pgrep -f 'Program Files.Surftally.surftally\.exe'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && return 0
    done
    return 1
}
install() { timeout 120 wine "$setup" /S >>"$work/setup.log" 2>&1; }
shortcut() { find "$WINEPREFIX/drive_c/users" -path "*/Start Menu/Programs/$1" 2>/dev/null | head -n 1; }
start_from_menu() {
    timeout "$bound" wine start /unix "$(shortcut Surftally.lnk)" >>"$work/program.log" 2>&1
    wait_until 30 strip_shown || fail "the program did not show its strip"
}

# --- A new user installs ------------------------------------------------------------------
install || fail "the silent install failed ($?): $(tail -n 3 "$work/setup.log")"
[ -f "$folder/surftally.exe" ] || fail "no surftally.exe in C:\\Program Files\\Surftally"
[ -f "$folder/uninstall.exe" ] || fail "no uninstaller in C:\\Program Files\\Surftally"
for file in "$defaults"/*.dat "$defaults"/*.ico; do
    cmp -s "$file" "$folder/$(basename "$file")" || fail "$(basename "$file") is not the default"
done
menu=$(shortcut Surftally.lnk)
startup=$(shortcut StartUp/Surftally.lnk)
[ -n "$menu" ] || fail "no Start-menu shortcut"
[ -n "$startup" ] || fail "no Startup shortcut"
for link in "$menu" "$startup"; do
    grep -aq 'C:\\Program Files\\Surftally\\surftally.exe' "$link" ||
        fail "the shortcut $(basename "$(dirname "$link")")/Surftally.lnk does not start the installed program"
done
echo "ok: /S installs surftally.exe, the default data and both shortcuts"

# --- The installed program, started from the Start menu ------------------------------------
start_from_menu
window=$(strip_window)
geometry=$(xwininfo -id "$window")
x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$geometry")
y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$geometry")
width=$(sed -n 's/.*Width: *//p' <<<"$geometry")
[ "$x,$y,$width" = "0,$top,120" ] || fail "the strip stands at $x,$y and is $width wide"
# The frame, then the clock in yellow on black inside it.
is_colour 0 "$top" "#999999" || fail "the strip's outer frame is $(pixel 0 "$top")"
is_colour 1 $((top + 1)) "#7F7F7F" || fail "the strip's inner frame is $(pixel 1 $((top + 1)))"
is_colour 5 $((top + 4)) "#000000" || fail "the display is $(pixel 5 $((top + 4))), not black"
wait_until 3 has_colour "100x15+10+$((top + 5))" "#FFFF00" 10 || fail "no yellow text on the display"
echo "ok: the strip stands at 0,$top and shows the clock in yellow on black"

# The icon in the notification area, with the off-line picture (navy).
panel=$(xwininfo -root -tree | grep '"panel": ("panel" "trayer")' | grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' | head -n 1)
read -r pw ph px py <<<"$(tr 'x+' '  ' <<<"$panel")"
wait_until 10 has_colour "$panel" "#000080" 40 || fail "the notification area shows no off-line icon"
echo "ok: the notification area shows the off-line icon"

xdotool mousemove --sync $((px + pw / 2)) $((py + ph / 2)) click 1
wait_until 3 eval '! strip_shown' || fail "a click on the icon did not hide the strip"
sleep 0.7
xdotool click 1
wait_until 3 strip_shown || fail "a second click on the icon did not show the strip"
echo "ok: a click on the icon hides and shows the strip"

# --- Reinstalling keeps the balance ----------------------------------------------------------
printf '123:45:00\r\n' >"$folder/remain.dat"
install || fail "the reinstall failed"
wait_until 10 eval '! program_running' || fail "the reinstall left the running program running"
[ "$(cat "$folder/remain.dat")" = $'123:45:00\r' ] || fail "the reinstall reset the balance"
echo "ok: a reinstall closes the running program and keeps the balance"

# --- Uninstalling keeps the data -------------------------------------------------------------
start_from_menu
timeout 120 wine "C:\\Program Files\\Surftally\\uninstall.exe" /S >>"$work/setup.log" 2>&1 ||
    fail "the silent uninstall failed"
# The uninstaller runs on from a copy of itself.
wait_until 30 eval '[ ! -e "$folder/surftally.exe" ]' || fail "the uninstaller left surftally.exe"
wait_until 10 eval '! program_running' || fail "the uninstaller left the program running"
wait_until 10 eval '[ ! -e "$folder/uninstall.exe" ]' || fail "the uninstaller left itself"
[ -z "$(shortcut Surftally.lnk)" ] && [ -z "$(shortcut StartUp/Surftally.lnk)" ] ||
    fail "the uninstaller left a shortcut"
[ "$(cat "$folder/remain.dat")" = $'123:45:00\r' ] || fail "the uninstaller did not keep remain.dat"
for file in "$defaults"/*.dat; do
    [ -f "$folder/$(basename "$file")" ] || fail "the uninstaller removed $(basename "$file")"
done
echo "ok: /S uninstalls the program and the shortcuts and keeps the data files"

echo "PASSED"
