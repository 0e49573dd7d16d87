#!/usr/bin/env bash
# The installer as administrators and users meet it, in a fresh Wine prefix on Xvfb with
# trayer: the rights it grants (recorded by a stand-in icacls.exe, since Wine enforces none)
# and the layout they reach, the Apps & features entry, shortcuts for all users, a start
# while another user's program holds the data folder, installs that cannot close a program
# (silent and interactive), an upgrade over a running program with a message on screen, the
# interactive install's last page, and the uninstaller's question, answered both ways.
# Exits 77 (skipped) when the tools or the X server are missing. With SURFTALLY_E2E_SHOTS set
# to a folder, the screenshots taken on the way are kept there.
# Usage: wine_installer_e2e.sh SURFTALLY_SETUP_EXE DEFAULT_DATA_FOLDER ICACLS_RECORDER_EXE
#        FOLDER_LOCK_HOLDER_EXE
set -uo pipefail

usage="usage: wine_installer_e2e.sh SETUP_EXE DEFAULT_DATA_FOLDER ICACLS_RECORDER LOCK_HOLDER"
setup=${1:?$usage}
defaults=${2:?$usage}
recorder=${3:?$usage}
holder_exe=${4:?$usage}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-lib.sh"
source "$here/wine-lib.sh"

require_tools Xvfb trayer xdotool xwininfo import wine wineserver python3
for file in "$setup" "$recorder" "$holder_exe"; do
    [ -f "$file" ] || fail "no $file"
done
setup=$(realpath "$setup")
defaults=$(realpath "$defaults")

# The recording icacls.exe, not Wine's own.
start_wine_desktop 360 icacls.exe=n
cleanup_more() {
    if [ -n "${SURFTALLY_E2E_SHOTS:-}" ]; then
        mkdir -p "$SURFTALLY_E2E_SHOTS" && cp "$work"/*.png "$SURFTALLY_E2E_SHOTS/" 2>/dev/null
    fi
}
system32="$WINEPREFIX/drive_c/windows/system32"
cp "$recorder" "$system32/icacls.exe"
icacls_log="$system32/icacls.log"

folder="$WINEPREFIX/drive_c/Program Files/Surftally"
programs="$folder/Program"
exe='C:\Program Files\Surftally\Program\surftally.exe'
uninstaller='C:\Program Files\Surftally\Program\uninstall.exe'
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Surftally'

program_pids() {
    local pid
    for pid in $(pgrep -f 'Program Files.Surftally.Program.surftally\.exe'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
    done
}
program_running() { [ -n "$(program_pids)" ]; }
width_of() { xwininfo -id "$1" 2>/dev/null | sed -n 's/.*Width: *//p'; }
strip_shown() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null); do
        [ "$(width_of "$id")" = 120 ] && return 0
    done
    return 1
}
# A visible window of the program titled "Surftally" that is not the strip: a message.
message_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null); do
        [ "$(width_of "$id")" != 120 ] && echo "$id" && return 0
    done
    return 1
}
message_shown() { message_window >/dev/null; }
# The newest visible window whose title starts with $1 (a message box over its dialog).
titled() { xdotool search --onlyvisible --name "^$1" 2>/dev/null | sort -n | tail -n 1; }
titled_shown() { [ -n "$(titled "$1")" ]; }
# press WINDOW KEY: the key in that window, made the active one by a click on its title bar
# (a program started meanwhile may have taken the focus).
press() {
    local x y w h
    read -r x y w h <<<"$(window_geometry "$1")" || fail "window $1 is gone"
    xdotool mousemove --sync $((x + w / 2)) $((y + 8)) click 1
    sleep 0.3
    xdotool key "$2"
}
# click_from_corner WINDOW DX DY: a click DX, DY pixels left of and above the window's
# bottom-right corner (where a wizard's buttons stand).
click_from_corner() {
    local x y w h
    read -r x y w h <<<"$(window_geometry "$1")" || fail "window $1 is gone"
    xdotool mousemove --sync $((x + w - $2)) $((y + h - $3)) click 1
}
mtime() { stat -c %Y "$1" 2>/dev/null || echo 0; }
shortcut() { find "$WINEPREFIX/drive_c" -path "*/Start Menu/Programs/$1" 2>/dev/null | head -n 1; }
start_program() { timeout "$bound" wine start /unix "$(shortcut Surftally.lnk)" >>"$work/program.log" 2>&1; }
silent_install() { timeout 120 wine "$setup" /S >>"$work/setup.log" 2>&1; }
# Another user's program: the data folder's lock held by a process with no window this
# session reaches, until hold_end.
hold_data() {
    : >"$work/holder.out"
    timeout "$bound" wine "$holder_exe" 'C:\Program Files\Surftally' >"$work/holder.out" 2>&1 &
    holder=$!
    pids+=($holder)
    wait_until 20 grep -q held "$work/holder.out" || fail "the stand-in could not hold the data folder"
}
hold_end() {
    kill "$holder" 2>/dev/null
    wait "$holder" 2>/dev/null
}
reg_value() {
    timeout 60 wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

# --- A silent install: layout, rights, entry, shortcuts ------------------------------------
silent_install || fail "the silent install failed ($?)"
[ -f "$programs/surftally.exe" ] && [ -f "$programs/uninstall.exe" ] ||
    fail "the program and its uninstaller are not in C:\\Program Files\\Surftally\\Program"
stray=$(find "$folder" -maxdepth 1 -type f -iregex '.*\.\(exe\|dll\|com\|bat\|cmd\|lnk\)')
[ -z "$stray" ] || fail "code in the data folder: $stray"
for file in "$defaults"/*.dat "$defaults"/*.ico; do
    [ -f "$folder/$(basename "$file")" ] || fail "no $(basename "$file") in the data folder"
done
[ -f "$icacls_log" ] || fail "the installer never ran icacls.exe"
grep -q '/inheritance:r' "$icacls_log" || fail "the program folder keeps the data folder's rights"
# history.dat is no default: the program of any user makes it at the first spell on-line.
python3 "$here/icacls_grants.py" "$icacls_log" "$WINEPREFIX/drive_c" \
    'C:\Program Files\Surftally\history.dat' >"$work/grants.txt" ||
    fail "the rights granted: $(cat "$work/grants.txt")"
echo "ok: executables only in Program, whose inherited rights are cut; users' grants (by SID) reach no code"
echo "ok: users may make history.dat in the data folder and rewrite it"

[ "$(reg_value Publisher)" != "" ] && [ "$(reg_value Publisher)" != Surftally ] ||
    fail "the entry's publisher reads \"$(reg_value Publisher)\""
[ -n "$(reg_value DisplayVersion)" ] || fail "the entry has no version"
size=$(reg_value EstimatedSize)
[[ "$size" =~ ^0x[0-9a-f]+$ ]] && [ $((size)) -gt 0 ] || fail "the entry's size is \"$size\""
[ "$(reg_value DisplayIcon)" = "$exe,0" ] || fail "the entry's icon is \"$(reg_value DisplayIcon)\""
echo "ok: the Apps & features entry has publisher, version, size ($((size)) KB) and icon"

for link in Surftally.lnk StartUp/Surftally.lnk; do
    found=$(shortcut "$link")
    [[ "$found" == */ProgramData/* ]] || fail "$link is not for all users: ${found:-missing}"
done
echo "ok: the Start-menu and Startup shortcuts are for all users"

# --- Another user's program holds the data folder ------------------------------------------
hold_data
start_program
wait_until 20 message_shown || fail "a start while another user's program runs says nothing"
program_running || fail "the program ended before its message was read"
strip_shown && fail "a second program counts on a held data folder"
import -window root "$work/second-user.png"
press "$(message_window)" Return
wait_until 10 eval '! program_running' || fail "the message did not end the start"
echo "ok: a start while another user's program holds the data folder says so and ends"

# The installer cannot close that program: a silent install fails and leaves things as
# they were.
touch -d 2000-01-01 "$programs/surftally.exe"
silent_install
status=$?
[ "$status" != 0 ] || fail "a silent install that could not close a program reported success"
[ "$(mtime "$programs/surftally.exe")" = "$(date -d 2000-01-01 +%s)" ] ||
    fail "the failed install replaced the program"
echo "ok: a silent install that cannot close a running program fails with exit code $status"

# Interactively it says so and offers to retry; once the program has gone, Retry installs.
timeout "$bound" wine "$setup" >>"$work/setup.log" 2>&1 &
pids+=($!)
interactive=$!
wait_until 30 titled_shown "Surftally Setup" || fail "the interactive install shows no window"
wait_until 30 eval '[ "$(xdotool search --onlyvisible --name "^Surftally Setup" | wc -l)" -ge 2 ]' ||
    fail "the interactive install did not say that Surftally still runs"
import -window root "$work/still-running.png"
# Meanwhile the installer's event closes any program that listens, window or not: one
# started now, which the installer never saw, ends by itself.
seed_data "$work/other" "$defaults"
SURFTALLY_DATA_DIR="Z:$work/other" timeout "$bound" wine "$exe" >>"$work/program.log" 2>&1 &
pids+=($!)
late=$!
wait_until 20 eval '! kill -0 $late 2>/dev/null' || fail "a program started during the install ran on"
[ -e "$work/other/surftally.lock" ] || fail "the program started during the install never ran"
echo "ok: while the installer waits, its event closes a program it has no window of"
hold_end
press "$(titled "Surftally Setup")" Return # Retry, the default
wait_until 30 eval '[ "$(mtime "$programs/surftally.exe")" -gt "$(date -d 2000-01-01 +%s)" ]' ||
    fail "Retry did not install"
echo "ok: an interactive install says that Surftally still runs, and Retry installs"

# Nothing was closed: the last page offers the start, checked; Finish starts the program.
printf '010:00:20\r\n' >"$folder/remain.dat"
sleep 1
import -window root "$work/finish.png"
click_from_corner "$(titled "Surftally Setup")" 141 25 # Finish
wait_until 20 eval '! kill -0 $interactive 2>/dev/null' || fail "Finish did not end the installer"
wait_until 20 program_running || fail "Finish on the last page did not start Surftally"
wait_until 20 strip_shown || fail "the started program shows no strip"
echo "ok: the interactive install ends on a page that starts Surftally"

# --- An upgrade over a running program with a message on screen ---------------------------
# The balance read, remain.dat turns read-only: the save at the minute mark 010:00:00 fails
# and the program says so.
chmod a-w "$folder/remain.dat"
wait_until 40 message_shown || fail "no message on screen to upgrade over"
import -window root "$work/message-before-upgrade.png"
chmod u+w "$folder/remain.dat"
before=$(program_pids)
touch -d 2000-01-01 "$programs/surftally.exe"
silent_install || fail "the upgrade over a program with a message on screen failed ($?)"
for pid in $before; do
    kill -0 "$pid" 2>/dev/null && fail "the upgrade left the old program running"
done
[ "$(mtime "$programs/surftally.exe")" -gt "$(date -d 2000-01-01 +%s)" ] ||
    fail "the upgrade did not replace surftally.exe"
wait_until 20 program_running || fail "the upgrade did not start again the program it closed"
[ "$(program_pids)" != "$before" ] || fail "the old program runs on"
wait_until 20 strip_shown || fail "the program started again shows no strip"
echo "ok: an upgrade closes a program with a message on screen, replaces it and starts it again"

# --- The uninstaller's question --------------------------------------------------------------
# uninstall KEY: an interactive uninstall, KEY answering its question.
uninstall() {
    timeout "$bound" wine "$uninstaller" >>"$work/setup.log" 2>&1 &
    pids+=($!)
    wait_until 30 titled_shown "Surftally Uninstall" || fail "the uninstaller shows no window"
    click_from_corner "$(titled "Surftally Uninstall")" 141 25 # Uninstall
    wait_until 30 eval '[ "$(xdotool search --onlyvisible --name "^Surftally Uninstall" | wc -l)" -ge 2 ]' ||
        fail "the uninstaller did not ask about the balance, the settings and the history"
    import -window root "$work/question-$1.png"
    press "$(titled "Surftally Uninstall")" "$1"
    wait_until 30 eval '[ ! -e "$programs/uninstall.exe" ]' || fail "the uninstaller left itself"
    wait_until 10 eval '! program_running' || fail "the uninstaller left the program running"
    sleep 1
    click_from_corner "$(titled "Surftally Uninstall")" 141 25 # Close
    wait_until 10 eval '! titled_shown "Surftally Uninstall"' || fail "the uninstaller did not close"
}
# The running program saves its balance as the uninstaller closes it.
uninstall Return # "Yes", the default: keep
[ ! -e "$programs" ] || fail "the uninstaller left the program folder"
balance=$(cat "$folder/remain.dat")
[[ "$balance" =~ ^0(09|10):[0-5][0-9]:[0-5][0-9]$'\r'$ ]] || fail "keeping left remain.dat holding $balance"
for file in "$defaults"/*.dat; do
    [ -f "$folder/$(basename "$file")" ] || fail "keeping removed $(basename "$file")"
done
# The program on-line since the upgrade ended its spell as the uninstaller closed it.
grep -q ';LAN Internet;[0-9]*;[0-9]*'$'\r''$' "$folder/history.dat" 2>/dev/null ||
    fail "keeping left no spell in history.dat: $(ls "$folder" | xargs)"
[ -z "$(shortcut Surftally.lnk)" ] && [ -z "$(shortcut StartUp/Surftally.lnk)" ] ||
    fail "the uninstaller left a shortcut"
timeout 60 wine reg query "$key" >/dev/null 2>&1 && fail "the uninstaller left the Apps & features entry"
echo "ok: the uninstaller asks, and by default keeps the balance, the settings and the history"

silent_install || fail "the reinstall failed"
[ "$(cat "$folder/remain.dat")" = "$balance" ] || fail "the reinstall lost the kept balance"
uninstall n # "No": delete them
[ ! -e "$folder" ] || fail "answered No, the uninstaller left $(ls "$folder" | xargs)"
echo "ok: answered No, the uninstaller deletes the balance, the settings, the history and the folder"

echo "PASSED"
