#!/usr/bin/env bash
# The real program on the screens users have, under a stacking window manager (openbox on
# Xvfb): 1024x768, 1920x1080, and 2560x1440 at twice the scale (QT_SCALE_FACTOR=2, so 1280x720
# of the program's own pixels). On each: the strip at the default place, at a stored place
# (beyond 999 pixels where the screen is big enough), a place stored on a bigger screen
# brought back whole while position.dat keeps its text, and the settings dialog whole on the
# screen.
# Exits 77 (skipped) when the tools are missing or the X server cannot start.
# Usage: screens_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

source "$(dirname "$0")/desktop-lib.sh"

require_tools Xvfb openbox xdotool xwininfo xprop import
program_and_defaults "$@"

# One screen per run of this script with --screen, each with its own X server.
if [ "${3:-}" != "--screen" ]; then
    for screen in "1024 768 1 300 400" "1920 1080 1 1500 1000" "2560 1440 2 1100 650"; do
        "$0" "$program" "$defaults" --screen $screen
        code=$?
        [ $code -eq 0 ] || exit $code
    done
    echo "PASSED"
    exit 0
fi
shift 3
read -r width height scale storedX storedY <<<"$*"
# The program's own pixels; the window manager and xwininfo count the screen's.
W=$((width / scale))
H=$((height / scale))
echo "--- ${width}x${height} at scale $scale: ${W}x${H} of the program's pixels"

start_openbox_desktop "${width}x${height}x24" 90

# start_program LEFT TOP: a fresh data folder with that position and the status strip on.
start_program() {
    new_data position.dat="$1 $2" status.dat=On
    show_program QT_SCALE_FACTOR="$scale"
}

# check_strip LEFT TOP: the strip, 120 x 37 of the program's pixels, stands there.
check_strip() {
    local want
    want="$(($1 * scale)) $(($2 * scale)) $((120 * scale)) $((37 * scale))"
    placed() { [ "$(window_geometry "$window")" = "$want" ]; }
    wait_until 5 placed || fail "the strip stands at $(window_geometry "$window"), not $want"
    wait_until 3 pixel_is $(($1 * scale)) $(($2 * scale)) "#999999" ||
        fail "the strip's frame is not drawn at its corner: $(screen_pixel $(($1 * scale)) $(($2 * scale)))"
}

# check_dialog: a click on the strip opens the settings whole on the screen, frame included.
check_dialog() {
    read -r x y _ <<<"$(window_geometry "$window")"
    xdotool mousemove --sync $((x + 30 * scale)) $((y + 12 * scale)) click 1
    wait_until 5 eval '[ -n "$(settings_window)" ]' || fail "the settings did not open"
    local dialog extents left right top bottom
    dialog=$(settings_window)
    read -r x y w h <<<"$(window_geometry "$dialog")"
    [ "$w $h" = "$((178 * scale)) $((381 * scale))" ] || fail "the settings are $w x $h"
    extents=$(xprop -id "$dialog" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ' ')
    IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
    [ $((x - left)) -ge 0 ] && [ $((y - top)) -ge 0 ] &&
        [ $((x + w + right)) -le "$width" ] && [ $((y + h + bottom)) -le "$height" ] ||
        fail "the settings at $x/$y, $w x $h with frame $extents leave the ${width}x${height} screen"
    import -window root "$work/dialog.png"
    cp "$work/dialog.png" "/tmp/surftally-screens-${width}x${height}.png"
    echo "ok: the settings stand whole on the screen at $x/$y, $w x $h"
}

# The default place: bottom left, 67 of the program's pixels above the screen's bottom.
start_program -1 -1
check_strip 0 $((H - 67))
echo "ok: the default place is 0/$((H - 67))"
check_dialog
stop_program

# A stored place, beyond 999 where the screen is big enough: kept at start and by OK.
start_program "$storedX" "$storedY"
check_strip "$storedX" "$storedY"
read -r x y _ <<<"$(window_geometry "$window")"
xdotool mousemove --sync $((x + 30 * scale)) $((y + 12 * scale)) click 1
wait_until 5 eval '[ -n "$(settings_window)" ] && [ "$(xdotool getactivewindow)" = "$(settings_window)" ]' ||
    fail "the settings did not open with the focus"
xdotool key Return
wait_until 5 eval '[ -z "$(settings_window)" ]' || fail "Enter did not press OK"
[ "$(cat "$data/position.dat")" = "$(printf '%s\r\n%s\r\n' "$storedX" "$storedY")" ] ||
    fail "OK stored the place as $(xargs <"$data/position.dat")"
echo "ok: the stored place $storedX/$storedY is kept at start and by OK"
stop_program

# A place stored on a bigger screen: the strip comes back whole at the nearest place, and the
# stored text stays until the user presses OK.
start_program 3000 2000
check_strip $((W - 120)) $((H - 37))
[ "$(cat "$data/position.dat")" = "$(printf '3000\r\n2000\r\n')" ] ||
    fail "position.dat was rewritten: $(xargs <"$data/position.dat")"
echo "ok: a place off the screen brings the strip to $((W - 120))/$((H - 37)); position.dat kept"
stop_program
start_program -400 -30
check_strip 0 0
echo "ok: a place above and left of the screen brings the strip to 0/0"
stop_program
exit 0
