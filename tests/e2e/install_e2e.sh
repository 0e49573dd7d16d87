#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed launcher as a new user
# would: it must seed the missing data folder from the defaults, start the program, and
# leave an existing folder's files alone. The desktop entries must be valid.
# Usage: install_e2e.sh BUILD_DIR
set -uo pipefail

build=${1:?usage: install_e2e.sh BUILD_DIR}
fail() {
    echo "FAILED: $*"
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install: $(tail -n 3 "$work/install.log")"

for file in bin/surftally libexec/surftally/surftally share/surftally/data/remain.dat \
    share/surftally/data/Off-Line.ico share/applications/surftally.desktop \
    etc/xdg/autostart/surftally.desktop share/icons/hicolor/32x32/apps/surftally.png; do
    [ -e "$prefix/$file" ] || fail "$file was not installed"
done
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$prefix/share/applications/surftally.desktop" ||
        fail "the menu entry is not valid"
    desktop-file-validate "$prefix/etc/xdg/autostart/surftally.desktop" ||
        fail "the autostart entry is not valid"
fi
grep -qx "Exec=$prefix/bin/surftally" "$prefix/share/applications/surftally.desktop" ||
    fail "the menu entry does not start the launcher"
echo "ok: installed"

# A new user: no data folder yet. The program runs headless for two seconds.
export HOME="$work/home"
unset XDG_DATA_HOME SURFTALLY_DATA_DIR
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
mkdir -p "$HOME"
timeout 2 "$prefix/bin/surftally" >"$work/run.log" 2>&1
status=$?
[ "$status" -eq 124 ] || fail "the program did not keep running (exit $status): $(tail -n 3 "$work/run.log")"
data="$HOME/.local/share/Surftally"
for file in remain.dat alarm.dat economic.dat position.dat hide.dat status.dat freeze.dat \
    Off-Line.ico LAN.ico MODEM.ico; do
    cmp -s "$data/$file" "$prefix/share/surftally/data/$file" || fail "$file was not seeded"
done
echo "ok: the launcher seeded a new data folder and started the program"

# An existing folder keeps its values.
printf '123:45:00\r\n' >"$data/remain.dat"
timeout 2 "$prefix/bin/surftally" >"$work/run.log" 2>&1
[ "$(cat "$data/remain.dat")" = $'123:45:00\r' ] || fail "the launcher overwrote remain.dat"
echo "ok: an existing data folder is left as it is"
echo "PASSED"
