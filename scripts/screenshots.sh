#!/usr/bin/env bash
# Takes screenshots of the program's five windows under a virtual X display,
# with a fresh settings folder: the main window with a conversion shown, the
# about box, the records window with one record, the preferences and the
# new-unit dialog. Usage: scripts/screenshots.sh [OUTPUT_FOLDER] (default
# build/screenshots). BUILD_DIR chooses the build folder (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=${BUILD_DIR:-build}

if [ "${1:-}" = "--on-display" ]; then
    out=$2
    pause() { sleep "${1:-0.6}"; }
    shot() { import -window "$2" "$out/$1.png" && echo "$out/$1.png"; }
    window() {  # window TITLE: the id of the visible window with that title
        local id=""
        for _ in $(seq 50); do
            id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) || true
            [ -n "$id" ] && break
            pause 0.2
        done
        [ -n "$id" ] || { echo "no window \"$1\"" >&2; exit 1; }
        echo "$id"
    }
    keys() { xdotool key --delay 40 "$@"; }
    # The splash has the main window's title and lives until the main window
    # is shown: the main window is the one left when the first one seen has
    # gone, or the only one after two seconds (a splash too quick to be seen).
    main_window() {
        local ids first="" since=0 i
        for i in $(seq 100); do
            ids=$(xdotool search --onlyvisible --name '^Quantix 96$' 2>/dev/null) || ids=""
            if [ -n "$ids" ]; then
                [ -n "$first" ] || { first=$(head -n1 <<<"$ids"); since=$i; }
                if ! grep -qx "$first" <<<"$ids"; then
                    head -n1 <<<"$ids"
                    return
                fi
                if [ $((i - since)) -ge 10 ] && [ "$(wc -l <<<"$ids")" = 1 ]; then
                    echo "$first"
                    return
                fi
            fi
            pause 0.2
        done
        echo "no main window" >&2
        exit 1
    }

    "$BUILD_DIR/app/quantix96" </dev/null &
    trap 'kill $! 2>/dev/null || true' EXIT
    main=$(main_window)
    xdotool windowfocus --sync "$main"
    pause

    # Length, "mile (US statute)" into "kilometre (km)", 26.2
    keys $(printf 'Down %.0s' $(seq 16)) Tab $(printf 'Down %.0s' $(seq 5)) Tab $(printf 'Down %.0s' $(seq 6)) Tab
    xdotool type --delay 60 "26.2"
    pause
    shot main "$main"

    keys alt+h
    pause 0.4
    keys a
    about=$(window "About Quantix 96")
    pause
    shot about "$about"
    keys Return
    pause

    # One record (the input has the focus), then View Conversion Records.
    xdotool windowfocus --sync "$main"
    keys ctrl+a alt+r
    pause 0.4
    keys v
    records=$(window "Conversion Records")
    pause
    shot records "$records"
    xdotool windowfocus --sync "$records"
    keys alt+f
    pause 0.4
    keys c
    pause

    # The preferences open on the Number Style tab; Units is the one before.
    xdotool windowfocus --sync "$main"
    keys alt+f
    pause 0.4
    keys p
    preferences=$(window "Quantix 96 Preferences")
    pause
    shot preferences "$preferences"
    xdotool windowfocus --sync "$preferences"
    keys ctrl+shift+Tab
    pause
    shot preferences-units "$preferences"
    keys alt+a
    newunit=$(window "New Unit Configuration")
    pause
    shot newunit "$newunit"
    keys Escape
    pause
    xdotool windowfocus --sync "$preferences"
    keys Escape
    pause
    exit 0
fi

. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}" xvfb xauth xdotool imagemagick x11-utils
scripts/build.sh >/dev/null
out=$(realpath -m "${1:-$BUILD_DIR/screenshots}")
mkdir -p "$out"
export XDG_CONFIG_HOME=$(mktemp -d) XDG_RUNTIME_DIR=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display "$out"
