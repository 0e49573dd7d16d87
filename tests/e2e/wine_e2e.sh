#!/usr/bin/env bash
# The Windows program as a new user meets it: a fresh Wine prefix on Xvfb with a real
# notification area (trayer, where Wine docks its icons), the program installed by its own
# installer (/S), started from its Start-menu shortcut, its strip and icon checked by screenshot
# pixels and driven by xdotool; a reinstall closes the running program, keeps the balance and
# starts the program again; the silent uninstaller keeps the data.
# Exits 77 (skipped) when the tools or the X server are missing.
# Usage: wine_e2e.sh SURFTALLY_SETUP_EXE DEFAULT_DATA_FOLDER
set -uo pipefail

setup=${1:?usage: wine_e2e.sh SURFTALLY_SETUP_EXE DEFAULT_DATA_FOLDER}
defaults=${2:?usage: wine_e2e.sh SURFTALLY_SETUP_EXE DEFAULT_DATA_FOLDER}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-program-lib.sh"

wine_program_test "$setup" cmp
defaults=$(realpath "$defaults")

# A prefix of its own, and a home of its own for whatever Wine writes there.
start_wine_desktop 300

folder="$WINEPREFIX/drive_c/Program Files/Surftally"
programs="$folder/Program"
top=701 # screen height - 67

pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}'; }
is_colour() { [ "$(pixel "$1" "$2")" = "$3" ]; }
# count_colour GEOMETRY COLOUR: how many pixels of the screen's GEOMETRY have COLOUR.
count_colour() { import -window root -crop "$1" -depth 8 txt:- 2>/dev/null | grep -c "$2"; }
has_colour() { [ "$(count_colour "$1" "$2")" -ge "${3:-1}" ]; }
lacks_colour() { [ "$(count_colour "$1" "$2")" -lt "${3:-1}" ]; }
install() { timeout 120 wine "$setup" /S >>"$work/setup.log" 2>&1; }
# settings TITLE: the settings dialog's window with that exact title, shown.
settings() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
settings_shown() { [ -n "$(settings "$1")" ]; }
settings_hidden() { [ -z "$(settings "$1")" ]; }
# click_client WINDOW X Y: a click at a point of the window's client area (the dialog has a
# frame of its own drawing: 178 x 381 inside it).
click_client() {
    local info wx wy ww wh border
    info=$(xwininfo -id "$1")
    wx=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    wy=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    ww=$(sed -n 's/.*Width: *//p' <<<"$info")
    wh=$(sed -n 's/.*Height: *//p' <<<"$info")
    border=$(((ww - 178) / 2))
    xdotool mousemove --sync $((wx + border + $2)) $((wy + wh - 381 - border + $3)) click 1
}
open_settings() {
    xdotool mousemove --sync 60 $((top + 12)) click 1
    wait_until 5 settings_shown "$1" || fail "a click on the strip did not open \"$1\""
}
close_application() {
    click_client "$(settings "$1")" 88 367
    wait_until 10 eval '! program_running' || fail "\"Close Application\" did not end the program"
}
# The icon's place in the notification area, while it is there.

# --- A new user installs ------------------------------------------------------------------
install || fail "the silent install failed ($?): $(tail -n 3 "$work/setup.log")"
[ -f "$programs/surftally.exe" ] || fail "no surftally.exe in C:\\Program Files\\Surftally\\Program"
[ -f "$programs/uninstall.exe" ] || fail "no uninstaller in C:\\Program Files\\Surftally\\Program"
for file in "$defaults"/*.dat "$defaults"/*.ico; do
    cmp -s "$file" "$folder/$(basename "$file")" || fail "$(basename "$file") is not the default"
done
menu=$(shortcut Surftally.lnk)
startup=$(shortcut StartUp/Surftally.lnk)
[ -n "$menu" ] || fail "no Start-menu shortcut"
[ -n "$startup" ] || fail "no Startup shortcut"
for link in "$menu" "$startup"; do
    grep -aq 'C:\\Program Files\\Surftally\\Program\\surftally.exe' "$link" ||
        fail "the shortcut $(basename "$(dirname "$link")")/Surftally.lnk does not start the installed program"
done
echo "ok: /S installs surftally.exe, the default data and both shortcuts"

# --- The installed program, started from the Start menu ------------------------------------
# Wine reports the LAN as connected: the balance of the default data, 000:00:00, counts on-line
# below the minimum of 2 hours (red), and the status strip names the LAN (green).
start_from_menu
window=$(strip_window)
geometry=$(xwininfo -id "$window")
x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$geometry")
y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$geometry")
[ "$x,$y" = "0,$top" ] || fail "the strip stands at $x,$y"
is_colour 0 "$top" "#999999" || fail "the strip's outer frame is $(pixel 0 "$top")"
is_colour 1 $((top + 1)) "#7F7F7F" || fail "the strip's inner frame is $(pixel 1 $((top + 1)))"
wait_until 5 is_colour 4 $((top + 4)) "#FF0000" ||
    fail "the used-up balance is on $(pixel 4 $((top + 4))), not red"
has_colour "100x15+10+$((top + 5))" "#FFFFFF" 10 || fail "no white digits on the display"
is_colour 2 $((top + 30)) "#008000" || fail "the LAN status strip is $(pixel 2 $((top + 30)))"
echo "ok: the strip stands at 0,$top: 000:00:00 on-line below the minimum, white on red, LAN strip green"

# The icon in the notification area shows the LAN picture (green).
panel=$(panel_geometry)
wait_until 10 has_colour "$panel" "#008000" 40 || fail "the notification area shows no LAN icon"
echo "ok: the notification area shows the LAN icon"

check_icon_toggles_strip

# A second start while the strip is hidden brings it back and ends; one program counts.
sleep 0.7 # not a double click
xdotool click 1
wait_until 3 eval '! strip_shown' || fail "a click on the icon did not hide the strip"
start_from_menu
wait_until 10 eval '[ "$(program_count)" = 1 ]' || fail "$(program_count) programs run on one data folder"
echo "ok: a second start brings the hidden strip back and ends"

# The settings: a balance typed into its field is the new balance, in remain.dat at once.
open_settings " Settings - Surftally"
dialog=$(settings " Settings - Surftally")
click_client "$dialog" 110 80
xdotool key Home
xdotool type --delay 60 0123456
wait_until 3 eval '[ "$(cat "$folder/remain.dat")" = $'"'"'012:34:56\r'"'"' ]' ||
    fail "typing 012:34:56 left remain.dat holding $(od -c "$folder/remain.dat" | head -n 1)"
echo "ok: typing a balance in \" Settings - Surftally\" rewrites remain.dat with CR LF"
click_client "$dialog" 153 319 # OK
wait_until 3 settings_hidden " Settings - Surftally" || fail "OK did not close the settings"
first=$(import -window root -crop "100x15+10+$((top + 5))" -depth 8 rgb:- | md5sum)
wait_until 5 is_colour 4 $((top + 4)) "#FFFF00" || fail "the new balance is not on yellow"
sleep 1.2
[ "$(import -window root -crop "100x15+10+$((top + 5))" -depth 8 rgb:- | md5sum)" != "$first" ] ||
    fail "the balance does not count down"
echo "ok: the new balance counts down in black on yellow"

# "Close Application" ends the program and takes the icon away.
open_settings " Settings - Surftally"
close_application " Settings - Surftally"
wait_until 5 eval 'lacks_colour "$panel" "#008000" 10' || fail "the icon stayed in the notification area"
[ "$(error_boxes)" = 0 ] || fail "an error was reported"
balance=$(cat "$folder/remain.dat")
[[ "$balance" =~ ^012:3[34]:[0-5][0-9]$'\r'$ ]] || fail "the program left remain.dat holding $balance"
echo "ok: \"Close Application\" ends the program and removes the icon"

# In Serbian.
: >"$folder/srpski.dat"
start_from_menu
open_settings " Podesavanje - Surftally  "
echo "ok: with srpski.dat the settings read \" Podesavanje - Surftally  \""

# --- Reinstalling keeps the balance ----------------------------------------------------------
# The program still runs: the installer closes it first and starts it again afterwards.
before=$(program_pids)
install || fail "the reinstall failed"
for pid in $before; do
    wait_until 10 eval '! kill -0 $pid 2>/dev/null' || fail "the reinstall left the running program running"
done
wait_until 10 program_running || fail "the reinstall did not start the program it closed"
# The program may have saved a minute mark meanwhile, never the default's 000:00:00.
kept() { [[ "$(cat "$folder/remain.dat")" =~ ^012:3[2-4]:[0-5][0-9]$'\r'$ ]]; }
kept || fail "the reinstall left remain.dat holding $(cat "$folder/remain.dat")"
[ -f "$folder/srpski.dat" ] || fail "the reinstall removed srpski.dat"
echo "ok: a reinstall closes the running program, keeps the balance ($(cat "$folder/remain.dat" | tr -d '\r')) and starts it again"

# --- Uninstalling keeps the data -------------------------------------------------------------
start_from_menu
timeout 120 wine "C:\\Program Files\\Surftally\\Program\\uninstall.exe" /S >>"$work/setup.log" 2>&1 ||
    fail "the silent uninstall failed"
# The uninstaller runs on from a copy of itself.
wait_until 30 eval '[ ! -e "$programs/surftally.exe" ]' || fail "the uninstaller left surftally.exe"
wait_until 10 eval '! program_running' || fail "the uninstaller left the program running"
wait_until 10 eval '[ ! -e "$programs/uninstall.exe" ]' || fail "the uninstaller left itself"
[ -z "$(shortcut Surftally.lnk)" ] && [ -z "$(shortcut StartUp/Surftally.lnk)" ] ||
    fail "the uninstaller left a shortcut"
kept || fail "the uninstaller left remain.dat holding $(cat "$folder/remain.dat")"
for file in "$defaults"/*.dat; do
    [ -f "$folder/$(basename "$file")" ] || fail "the uninstaller removed $(basename "$file")"
done
echo "ok: /S uninstalls the program and the shortcuts and keeps the data files"

echo "PASSED"
