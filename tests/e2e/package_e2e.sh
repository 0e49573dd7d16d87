#!/usr/bin/env bash
# The Debian package as a user gets it: `apt-get install ./build/surftally_<version>_amd64.deb`,
# `surftally` started from the menu's command by a new user under Xvfb (the data folder
# seeded from the defaults, the strip shown, the autostart entry in /etc/xdg/autostart), then
# `apt-get purge`, after which nothing of the package is left but the user's data.
# Needs root and apt-get; skipped when surftally is installed already, which it would replace.
# Usage: package_e2e.sh DEB
set -uo pipefail

deb=${1:?usage: package_e2e.sh DEB}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-lib.sh"

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
require_tools apt-get dpkg useradd userdel runuser Xvfb xdotool desktop-file-validate
[ -f "$deb" ] || fail "no package at $deb"
deb=$(realpath "$deb")
if dpkg-query -W -f='${Status}' surftally 2>/dev/null | grep -q 'installed$'; then
    skip "surftally is installed on this machine; the test would replace it"
fi

app_id=io.github.surftally.Surftally
user=surftally-pkg-e2e
bound=$(patient 120)
start_work TERM 30
cleanup_more() {
    userdel "$user" 2>/dev/null
    if dpkg-query -W surftally >/dev/null 2>&1; then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq surftally >/dev/null 2>&1
    fi
}

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
    fail "apt-get install: $(tail -n 5 "$work/apt.log")"
dpkg-query -L surftally >"$work/files" || fail "dpkg does not know the installed package"
[ "$(command -v surftally)" = /usr/bin/surftally ] || fail "surftally is not /usr/bin/surftally"
autostart=/etc/xdg/autostart/$app_id.desktop
[ -f "$autostart" ] || fail "no autostart entry $autostart"
grep -qx 'Exec=/usr/bin/surftally' "$autostart" || fail "the autostart entry: $(grep ^Exec= "$autostart")"
desktop-file-validate "$autostart" || fail "the autostart entry is not valid"
grep -qx 'Exec=/usr/bin/surftally' "/usr/share/applications/$app_id.desktop" ||
    fail "the menu entry does not start /usr/bin/surftally"
echo "ok: installed with apt-get; /usr/bin/surftally, the menu and the autostart entry are there"

# A new user with a home of their own starts the program on a display.
chmod 755 "$work"
home="$work/home"
useradd --no-create-home --home-dir "$home" --shell /bin/sh "$user" ||
    fail "cannot make the user $user"
mkdir -m 755 "$home" && chown "$user:" "$home"
start_xvfb 1024x768x24
"${limit[@]}" runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" \
    surftally >"$work/program.log" 2>&1 &
pids+=($!)
strip() { xdotool search --onlyvisible --name '^Surftally$' 2>/dev/null | head -n 1; }
wait_until 30 eval '[ -n "$(strip)" ]' || fail "the strip was not shown"
data="$home/.local/share/Surftally"
for file in /usr/share/surftally/data/*; do
    cmp -s "$file" "$data/$(basename "$file")" || fail "$(basename "$file") was not seeded into $data"
done
[ "$(stat -c %U "$data/remain.dat")" = "$user" ] || fail "the data folder does not belong to the user"
echo "ok: $user started surftally: the data folder was seeded and the strip is shown"

program_pids() {
    local p
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/exe" 2>/dev/null)" = /usr/libexec/surftally/surftally ] && echo "${p#/proc/}"
    done
}
for pid in $(program_pids); do kill "$pid"; done
wait_until 10 eval '[ -z "$(program_pids)" ]' || fail "the program did not end"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq surftally >"$work/purge.log" 2>&1 ||
    fail "apt-get purge: $(tail -n 5 "$work/purge.log")"
! dpkg-query -W surftally >/dev/null 2>&1 || fail "dpkg still knows surftally after the purge"
left=()
while read -r path; do
    if [ -d "$path" ]; then
        # Folders that only the package had are gone; shared ones such as /usr/share stay.
        case "$path" in
            */surftally | */surftally/*) left+=("$path") ;;
        esac
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left after the purge: ${left[*]}"
[ -e "$data/remain.dat" ] || fail "the purge removed the user's data"
echo "ok: apt-get purge leaves nothing of the package ($(wc -l <"$work/files") paths), and the user's data"
echo "PASSED"
