# shellcheck shell=bash
# The Wine environment of the project's scripts and tests, in one place: sourced by
# scripts/test-windows, scripts/wine-run, scripts/wine-prefix, scripts/screenshots-windows,
# bench/windows/windows_bench.sh and the wine_*_e2e scripts.

wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# wine_environment [PREFIX [OVERRIDES]]: Wine quiet, in PREFIX (else the caller's WINEPREFIX,
# else build/wine-prefix), with no Mono or Gecko download prompts and no menu entries on the
# host for what is installed; OVERRIDES (e.g. "icacls.exe=n") are added to the DLL overrides.
wine_environment() {
    # Wine turns file names into Unix ones by the locale: make it UTF-8 whatever the caller has.
    export LC_ALL=C.UTF-8
    export WINEPREFIX="${1:-${WINEPREFIX:-$wine_root/build/wine-prefix}}"
    export WINEDEBUG="${WINEDEBUG:--all}"
    WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES${2:+;$2}"
}

# stop_wine: ends the prefix's Wine server and everything it runs, and waits until it has.
stop_wine() {
    timeout 60 wineserver -k >/dev/null 2>&1
    timeout 60 wineserver -w >/dev/null 2>&1
    return 0
}

# start_wine [OVERRIDES]: a Wine prefix and a home of the test's own in $work (start_work in
# desktop-lib.sh), made by scripts/wine-prefix; its Wine server is stopped when the test ends.
# Fails (status 1) when the prefix cannot be made; $work/prefix.log says why.
start_wine() {
    export HOME="$work/home"
    mkdir -p "$HOME"
    wine_environment "$work/prefix" "${1:-}"
    at_exit+=(stop_wine)
    "$wine_root/scripts/wine-prefix" >"$work/prefix.log" 2>&1
}

# start_wine_desktop BOUND [OVERRIDES]: for an end-to-end test (with desktop-lib.sh): the
# test's folder, Xvfb at 1024 x 768 with a trayer notification area, where Wine docks its
# icons, and start_wine; every process the test starts ends by itself after BOUND seconds,
# stretched (patient), at the latest.
start_wine_desktop() {
    bound=$(patient "$1")
    start_work TERM 30
    start_xvfb 1024x768x24
    start_panel --widthtype request
    start_wine "${2:-}" || fail "no Wine prefix: $(tail -n 3 "$work/prefix.log")"
}
