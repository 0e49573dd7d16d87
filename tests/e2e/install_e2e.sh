#!/usr/bin/env bash
# Installs the build into a temporary prefix with a blank and a non-ASCII letter in it, as a
# user's home may have, and starts the installed launcher as a new user would: it must seed
# the missing data folder from the defaults, start the program, and leave an existing
# folder's files alone. The desktop entries must be valid and start the launcher from that
# prefix. When the launcher cannot start the program it says why, also on the screen.
# Usage: install_e2e.sh BUILD_DIR
set -uo pipefail

build=${1:?usage: install_e2e.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-lib.sh"

app_id=io.github.surftally.Surftally
bound=$(patient 60)
start_work TERM 30
prefix="$work/Ana Marić/.local"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install: $(tail -n 3 "$work/install.log")"

menu="$prefix/share/applications/$app_id.desktop"
autostart="$prefix/etc/xdg/autostart/$app_id.desktop"
for file in bin/surftally libexec/surftally/surftally libexec/surftally/surftally-message \
    share/surftally/data/remain.dat share/surftally/data/Off-Line.ico \
    share/icons/hicolor/32x32/apps/surftally.png share/icons/hicolor/scalable/apps/surftally.svg \
    "share/metainfo/$app_id.metainfo.xml" share/man/man1/surftally.1.gz; do
    [ -e "$prefix/$file" ] || fail "$file was not installed"
done
for entry in "$menu" "$autostart"; do
    [ -e "$entry" ] || fail "${entry#"$prefix/"} was not installed"
    if command -v desktop-file-validate >/dev/null 2>&1; then
        desktop-file-validate "$entry" || fail "${entry#"$prefix/"} is not valid"
    fi
    # The path has a blank, so Exec quotes it as one argument.
    grep -qxF "Exec=\"$prefix/bin/surftally\"" "$entry" ||
        fail "${entry#"$prefix/"} does not name the launcher as one argument: $(grep ^Exec= "$entry")"
done
echo "ok: installed under '$prefix'; the entries are valid and quote the launcher"

export HOME="$work/home"
unset XDG_DATA_HOME SURFTALLY_DATA_DIR DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
mkdir -p "$HOME"
data="$HOME/.local/share/Surftally"
program="$prefix/libexec/surftally/surftally"
# program_pids: the processes running the installed program (exactly that file).
program_pids() {
    local p
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/exe" 2>/dev/null)" = "$program" ] && echo "${p#/proc/}"
    done
}
seeded() { [ -e "$data/MODEM.ico" ] && [ -n "$(program_pids)" ]; }

# A new user starts the program from the menu: the entry is run the way desktops run it.
if command -v gio >/dev/null 2>&1; then
    gio launch "$menu" >"$work/launch.log" 2>&1 || fail "gio launch: $(tail -n 3 "$work/launch.log")"
    wait_until 20 seeded || fail "the menu entry did not start the program"
    for pid in $(program_pids); do kill "$pid"; done
    wait_until 10 eval '[ -z "$(program_pids)" ]' || fail "the program started from the menu did not end"
    rm -rf "$data"
    echo "ok: the menu entry starts the program from a prefix with a blank"
fi

# The launcher itself, for two seconds.
timeout 2 "$prefix/bin/surftally" >"$work/run.log" 2>&1
status=$?
[ "$status" -eq 124 ] || fail "the program did not keep running (exit $status): $(tail -n 3 "$work/run.log")"
for file in remain.dat alarm.dat economic.dat position.dat hide.dat status.dat freeze.dat \
    Off-Line.ico LAN.ico MODEM.ico; do
    cmp -s "$data/$file" "$prefix/share/surftally/data/$file" || fail "$file was not seeded"
done
echo "ok: the launcher seeded a new data folder and started the program"

# An existing folder keeps its values.
printf '123:45:00\r\n' >"$data/remain.dat"
timeout -s KILL 2 "$prefix/bin/surftally" >"$work/run.log" 2>&1
[ "$(cat "$data/remain.dat")" = $'123:45:00\r' ] || fail "the launcher overwrote remain.dat"
echo "ok: an existing data folder is left as it is"

# No HOME and no other folder named: the launcher says why and ends, without a display on
# standard error only.
env -u HOME "$prefix/bin/surftally" >"$work/nohome.log" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "without HOME the launcher ended with $status: $(cat "$work/nohome.log")"
grep -q "HOME is not set" "$work/nohome.log" || fail "without HOME the launcher said: $(cat "$work/nohome.log")"
echo "ok: without HOME: $(cat "$work/nohome.log")"

# A data folder that cannot be made (its parent is a file): the reason is shown on the
# screen, in a message box that stays until it is closed.
if ! command -v Xvfb >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1; then
    echo "note: no Xvfb or xdotool; the message on the screen is not checked"
    echo "PASSED"
    exit 0
fi
touch "$work/a-file"
unset QT_QPA_PLATFORM
start_xvfb 800x600x24
SURFTALLY_DATA_DIR="$work/a-file/Surftally" "$prefix/bin/surftally" >"$work/unmade.log" 2>&1 &
launcher=$!
pids+=("$launcher")
message() { xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null | head -n 1; }
wait_until 20 eval '[ -n "$(message)" ]' || fail "no message on the screen: $(cat "$work/unmade.log")"
grep -q "cannot make its data folder $work/a-file/Surftally: Not a directory" "$work/unmade.log" ||
    fail "the launcher said: $(cat "$work/unmade.log")"
kill -0 "$launcher" 2>/dev/null || fail "the launcher ended before the message was closed"
[ -z "$(program_pids)" ] || fail "the program was started without its data folder"
xdotool windowfocus --sync "$(message)" key Return 2>/dev/null
wait_until 10 eval '! kill -0 $launcher 2>/dev/null' || fail "closing the message did not end the launcher"
wait "$launcher"
status=$?
[ "$status" -eq 1 ] || fail "the launcher ended with $status"
echo "ok: a data folder that cannot be made: the reason is on the screen until closed, then exit 1"

# Where the helper cannot show it (here Qt has no such platform), xmessage does.
if command -v xmessage >/dev/null 2>&1; then
    QT_QPA_PLATFORM=no-such-platform SURFTALLY_DATA_DIR="$work/a-file/Surftally" \
        "$prefix/bin/surftally" >"$work/fallback.log" 2>&1 &
    launcher=$!
    pids+=("$launcher")
    fallback() { xdotool search --onlyvisible --name '^xmessage$' 2>/dev/null | head -n 1; }
    wait_until 20 eval '[ -n "$(fallback)" ]' || fail "no xmessage on the screen: $(cat "$work/fallback.log")"
    kill -0 "$launcher" 2>/dev/null || fail "the launcher ended before xmessage was closed"
    xdotool windowfocus --sync "$(fallback)" key Return 2>/dev/null
    wait_until 10 eval '! kill -0 $launcher 2>/dev/null' || fail "closing xmessage did not end the launcher"
    echo "ok: without the helper the reason is shown by xmessage"
fi
echo "PASSED"
