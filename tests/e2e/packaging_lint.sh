#!/usr/bin/env bash
# What Debian's and the desktops' tools check in the installed files: the man page renders
# without a warning, the AppStream metadata and both desktop entries validate, the man page,
# the metadata and the changelog carry the project's version, and every icon is the size it
# is filed under and is what tools/make-icons.py draws today.
# Usage: packaging_lint.sh SOURCE_DIR BUILD_DIR VERSION
set -uo pipefail

source_dir=${1:?usage: packaging_lint.sh SOURCE_DIR BUILD_DIR VERSION}
build=${2:?usage: packaging_lint.sh SOURCE_DIR BUILD_DIR VERSION}
version=${3:?usage: packaging_lint.sh SOURCE_DIR BUILD_DIR VERSION}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-lib.sh"
require_tools groff appstreamcli desktop-file-validate identify python3 gzip

app_id=io.github.surftally.Surftally
start_work TERM
prefix="$work/usr"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install: $(tail -n 3 "$work/install.log")"

man="$prefix/share/man/man1/surftally.1.gz"
warnings=$(gzip -dc "$man" | groff -man -ww -z 2>&1)
[ -z "$warnings" ] || fail "groff warns about the man page: $warnings"
gzip -dc "$man" | grep -q "^\.TH SURFTALLY 1 .*\"Surftally $version\"" || fail "the man page does not carry version $version"
for word in SURFTALLY_DATA_DIR srpski.dat remain.dat "$app_id.desktop"; do
    gzip -dc "$man" | grep -qF "$word" || fail "the man page does not mention $word"
done
echo "ok: groff -man -ww -z is silent on surftally(1), which carries $version"

metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$work/appstream.log")"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metadata's release is not $version"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not name the menu entry"
echo "ok: appstreamcli validate --no-net passes; the release is $version"

for entry in "share/applications/$app_id.desktop" "etc/xdg/autostart/$app_id.desktop"; do
    desktop-file-validate "$prefix/$entry" || fail "$entry is not valid"
done
echo "ok: desktop-file-validate passes on the menu and autostart entries"

gzip -dc "$prefix/share/doc/surftally/changelog.gz" | head -n 1 | grep -q "^surftally ($version) " ||
    fail "the changelog's entry is not $version"
grep -q "^License: Expat" "$prefix/share/doc/surftally/copyright" || fail "the copyright file names no licence"
echo "ok: the changelog's entry is $version"

for size in 16 22 24 32 48 64 128 256; do
    file="$prefix/share/icons/hicolor/${size}x${size}/apps/surftally.png"
    [ "$(identify -format '%wx%h' "$file" 2>/dev/null)" = "${size}x${size}" ] ||
        fail "the ${size}x${size} icon is $(identify -format '%wx%h' "$file" 2>&1)"
done
for ico in Off-Line LAN MODEM; do
    sizes=$(identify -format '%w ' "$prefix/share/surftally/data/$ico.ico")
    [ "$sizes" = "16 20 24 32 40 48 64 " ] || fail "$ico.ico holds the sizes $sizes"
done
# The committed pictures are the ones the drawing gives.
mkdir "$work/drawn"
python3 "$source_dir/tools/make-icons.py" "$work/drawn" || fail "tools/make-icons.py failed"
for file in data/Off-Line.ico data/LAN.ico data/MODEM.ico; do
    cmp -s "$work/drawn/$file" "$source_dir/$file" || fail "$file is not what tools/make-icons.py draws"
done
(cd "$work/drawn/packaging/icons" && find . -type f) | while read -r file; do
    cmp -s "$work/drawn/packaging/icons/$file" "$source_dir/packaging/icons/$file" ||
        fail "packaging/icons/${file#./} is not what tools/make-icons.py draws"
done || exit 1
echo "ok: every icon is the size it is filed under and what tools/make-icons.py draws"
echo "PASSED"
