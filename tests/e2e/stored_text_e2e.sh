#!/usr/bin/env bash
# The real program shows what a data file holds as its characters, never as markup: off-line,
# a hover over the display shows remain.dat's line '<font color=red>1</font>' as those
# characters in the display's yellow, not as a red 1. The program runs off-line in a network
# namespace of its own.
# Exits 77 (skipped) when the tools, root or network namespaces are missing.
# Usage: stored_text_e2e.sh PATH_TO_SURFTALLY DEFAULT_DATA_FOLDER
set -uo pipefail

source "$(dirname "$0")/desktop-lib.sh"

require_tools Xvfb xdotool xwininfo import unshare
require_namespaces
program_and_defaults "$@"

bound=$(patient 60)
start_work TERM 30
start_xvfb 1024x768x24
offline_prefix
new_data position.dat="0 0"
show_program
# The file changes under the running program, as an editor would change it.
printf '<font color=red>1</font>\r\n' >"$data/remain.dat"

# The display's 116 x 21 pixels inside the frame: how many are red, and how many yellow ones
# stand in its first 8 columns, where the clock's text never reaches but the line's does.
display_colours() {
    import -window root -crop 116x21+2+2 -depth 8 txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' |
        awk '$2 > 200 && $3 < 80 { red++ } $1 < 8 && $2 > 200 && $3 > 200 && $4 < 80 { edge++ }
             END { print red + 0, edge + 0 }'
}
xdotool mousemove --sync 60 12 mousemove --sync 62 13
shown() { read -r red edge <<<"$(display_colours)"; [ "$red" -gt 0 ] || [ "$edge" -gt 0 ]; }
wait_until 5 shown || fail "a hover off-line did not show remain.dat's line ($(display_colours))"
read -r red edge <<<"$(display_colours)"
[ "$red" -eq 0 ] || fail "the line is drawn as markup: $red red pixels on the display"
import -window root -crop 120x25+0+0 "$work/display.png" 2>/dev/null && cp "$work/display.png" /tmp/surftally-stored-text.png
echo "ok: remain.dat's '<font color=red>1</font>' is shown as its characters, not as a red 1"
echo "PASSED"
