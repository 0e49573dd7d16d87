#!/usr/bin/env bash
# The real program as users who depend on their desktop's settings meet it, under openbox on
# Xvfb: with a dark colour scheme (qt6ct's "darker"), the texts of the settings and help
# windows keep a readable contrast, read off a screenshot; neither fixed-size window offers
# to maximise; and a screen reader's view (the AT-SPI tree on a private session bus) names
# every field by its label, the "?" button as help, and says what the strip shows.
# Exits 77 (skipped) when the tools are missing or the X server cannot start.
# Usage: access_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-lib.sh"
check="$here/access_check.py"
# Debian's Python, which has the GObject bindings, even where another comes first on PATH.
python3() { /usr/bin/python3 "$@"; }

# missed WHAT: a check that failed; the others still run, and the test fails at the end.
failures=0
missed() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

require_tools Xvfb openbox xdotool xwininfo xprop import dbus-daemon
[ -f /usr/share/qt6ct/colors/darker.conf ] || skip "qt6ct is not installed"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed"
python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    skip "gir1.2-atspi-2.0 is not installed"
program_and_defaults "$@"

bound=$(patient 150)
start_work TERM 30
start_xvfb 1024x768x24
start_openbox
# A session bus of the test's own, where the accessibility bus is started on demand.
start_session_bus

# The dark colour scheme, as a user picks it in qt6ct.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/qt6ct"
cat >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf" <<CONF
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
style=Fusion
CONF

new_data hide.dat=Off
show_program QT_QPA_PLATFORMTHEME=qt6ct QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
strip=$window

# The strip's state, before anything is opened over it: what it shows and the connection.
if python3 "$check" description '^(Clock|Balance)[a-z, ]*, (Off - Line|LAN Internet|Modem|Proxy)' \
    >"$work/atspi.log" 2>&1; then
    echo "ok: the strip says what it shows and whether it is on-line"
else
    cat "$work/atspi.log"
    missed "the strip's state is not in the accessibility tree"
fi

click_in "$strip" 60 12
wait_until 10 settings_shown || fail "a click on the strip did not open the settings"
settings=$(settings_window)

# contrast_of WINDOW X Y W H...: the regions (in WINDOW's client area) on the screen.
contrast_of() {
    local window=$1 wx wy _ regions=()
    shift
    read -r wx wy _ <<<"$(window_geometry "$window")"
    while [ $# -gt 0 ]; do
        regions+=($((wx + $1)) $((wy + $2)) "$3" "$4")
        shift 4
    done
    import -window root -depth 8 "ppm:$work/screen.ppm" 2>/dev/null &&
        python3 "$check" contrast "$work/screen.ppm" "${regions[@]}" >"$work/contrast.log"
}
# The captions of Freeze and Hide, the five labels, X, a group caption, the close button,
# and the numbers in the balance, minimum and X fields.
settings_texts=(28 8 50 17 28 32 130 17 16 75 72 13 16 125 78 13 16 175 87 13 16 199 77 13
    16 223 72 13 17 279 9 13 18 54 120 12 12 360 153 14 99 74 50 14 115 124 30 14 33 279 35 14)
if wait_until 10 contrast_of "$settings" "${settings_texts[@]}"; then
    echo "ok: the settings' texts are readable under a dark scheme"
else
    missed "a text of the settings is not readable under a dark scheme"
fi
cat "$work/contrast.log"

# no_maximise WINDOW WHAT: openbox offers to close WINDOW but not to maximise it, and the
# window's Motif hints, which other managers follow for their buttons, ask for no maximise
# button nor function (neither the bit for all, 0x1, nor the one for maximise, 0x10 in the
# functions and 0x40 in the decorations).
no_maximise() {
    local actions motif functions decorations
    actions=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS)
    [[ "$actions" == *_NET_WM_ACTION_CLOSE* ]] || fail "no actions known for $2: $actions"
    motif=$(xprop -id "$1" _MOTIF_WM_HINTS)
    read -r functions decorations <<<"$(sed -n 's/.*= *0x[0-9a-f]*, *\(0x[0-9a-f]*\), *\(0x[0-9a-f]*\).*/\1 \2/p' <<<"$motif")"
    if [[ "$actions" == *MAXIMIZE* ]]; then
        missed "$2 offers to maximise: $actions"
    elif [ -z "$functions" ] || ((functions & 0x11 || decorations & 0x41)); then
        missed "$2 asks for a maximise button or function: $motif"
    else
        echo "ok: $2 offers no maximise button ($motif)"
    fi
}
no_maximise "$settings" "the settings"
import -window root "/tmp/surftally-access-settings.png" 2>/dev/null

if python3 "$check" names "HHH:MM:SS=text" "Minimal hours=spin" "Begin (HH:MM)=text" \
    "End (HH:MM)=text" "Discount (%)=spin" "X=spin" "Y=spin" "Help=push button" \
    >"$work/atspi.log" 2>&1; then
    echo "ok: every field is named by its label and the ? button as help"
else
    cat "$work/atspi.log"
    missed "a field is not named by its label"
fi

help_window() { xdotool search --onlyvisible --name '^ Help - Legend' 2>/dev/null | head -n 1; }
help_shown() { [ -n "$(help_window)" ]; }
click_in "$settings" 24 319
wait_until 10 help_shown || fail "the ? button did not open the help"
help=$(help_window)
# The memo's text (the red "Close" on grey is the design's own pair, below 4.5:1 anyway).
if wait_until 10 contrast_of "$help" 14 12 300 120; then
    echo "ok: the help's text is readable under a dark scheme"
else
    missed "the help's text is not readable under a dark scheme"
fi
cat "$work/contrast.log"
no_maximise "$help" "the help"
import -window root "/tmp/surftally-access.png" 2>/dev/null
[ "$failures" -eq 0 ] || fail "$failures checks failed (screen: /tmp/surftally-access.png)"
echo "ok: all checks passed (screen: /tmp/surftally-access.png)"
