#!/usr/bin/env bash
# The history of on-line spells in the real program: a minute on-line (a veth link carrying
# the default route in a private network namespace) leaves its line in history.dat; the
# History button of the settings opens the window, which shows today's bar at the right of
# its chart (read off a screenshot) and the totals and the forecast (read from the screen
# reader's view, the AT-SPI tree on a private session bus).
# Exits 77 (skipped) when the tools, root or network namespaces are missing.
# Usage: history_e2e.sh PROGRAM DEFAULT_DATA_FOLDER
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-lib.sh"
check="$here/access_check.py"
python3() { /usr/bin/python3 "$@"; }

require_tools Xvfb xdotool xwininfo import unshare ip dbus-daemon
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed"
python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    skip "gir1.2-atspi-2.0 is not installed"
program_and_defaults "$@"

go_online "$program" "$defaults"

bound=$(patient 200)
start_work TERM 30
start_xvfb 1024x768x24
start_session_bus

new_data hide.dat=Off alarm.dat=2
show_program QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
strip=$window
today=$(date +%Y-%m-%d)

# A spell's line: today's start and end, the LAN's connection text, at least a minute on-line
# of which no more than that was charged; written at the spell's first minute.
spell_line() {
    local line
    line=$(head -n 1 "$data/history.dat" 2>/dev/null) || return 1
    [[ "$line" =~ ^$today\ [0-9:]{8}\;$today\ [0-9:]{8}\;LAN\ Internet\;([0-9]+)\;([0-9]+)$'\r'$ ]] &&
        ((BASH_REMATCH[2] >= 60 && BASH_REMATCH[1] <= BASH_REMATCH[2]))
}
wait_until 90 spell_line || fail "no minute's line in history.dat: $(cat -A "$data/history.dat" 2>&1)"
echo "ok: a minute on-line left its line: $(tr -d '\r' <"$data/history.dat")"

click_in "$strip" 60 12
wait_until 10 settings_shown || fail "a click on the strip did not open the settings"
history_window() { xdotool search --onlyvisible --name '^ History - Surftally$' 2>/dev/null | head -n 1; }
history_shown() { [ -n "$(history_window)" ]; }
click_in "$(settings_window)" 88 319 # the History button, between "?" and "OK"
wait_until 10 history_shown || fail "the History button did not open the history window"
history=$(history_window)
echo "ok: the History button opens the history window"

# Today's bar: the last of the chart's 30 slots (the chart at 8,8, 384 x 176 pixels; its axis
# 16 pixels above its bottom) differs from the chart's ground just above the axis, and the
# slot before it, yesterday's, is empty.
read -r hx hy _ <<<"$(window_geometry "$history")"
ground=$(screen_pixel $((hx + 200)) $((hy + 40)))
todays_bar() {
    local bar yesterday
    bar=$(screen_pixel $((hx + 8 + 372)) $((hy + 8 + 159)))
    yesterday=$(screen_pixel $((hx + 8 + 361)) $((hy + 8 + 159)))
    [ -n "$bar" ] && [ "$bar" != "$ground" ] && [ "$yesterday" = "$ground" ]
}
wait_until 10 todays_bar || fail "no bar of today at the chart's right (ground $ground)"
echo "ok: today's bar stands at the chart's right"

if ! python3 "$check" matching '^Today: 0:0[1-9]:[0-9]{2}$' '^Last 7 days: 0:0[1-9]:[0-9]{2}$' \
    '^This month: 0:0[1-9]:[0-9]{2}$' \
    '^At this rate the balance lasts until [0-9]{2}\.[0-9]{2}\.[0-9]{4}$' \
    '^It falls below the minimum on [0-9]{2}\.[0-9]{2}\.[0-9]{4}$' >"$work/atspi.log" 2>&1; then
    cat "$work/atspi.log"
    fail "the totals or the forecast are not shown"
fi
echo "ok: the window shows the totals and the forecast"

xdotool key --window "$history" Escape
wait_until 10 eval '! history_shown' || fail "Escape did not close the history window"
echo "ok: Escape closes it"
echo "PASSED"
