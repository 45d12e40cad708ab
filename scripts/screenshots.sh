#!/usr/bin/env bash
# Takes screenshots of the program's windows under a virtual X display, with a
# fresh settings folder: the main window with a conversion shown, the about
# box, the records window with one record, the four tabs of the preferences,
# the new-unit dialog, the find box and the help window. It does so four
# times, each in a folder of its own: default (the toolkit's font and colours),
# 14pt and 20pt (a desktop font of that size) and dark (a dark colour scheme),
# the last three set as a desktop sets them, through the qt6ct platform theme.
# Usage: scripts/screenshots.sh [OUTPUT_FOLDER] (default build/screenshots).
# BUILD_DIR chooses the build folder (default build).
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

    # The preferences open on the Number Style tab; the others come before it.
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
    keys ctrl+shift+Tab
    pause
    shot preferences-quantities "$preferences"
    keys ctrl+shift+Tab
    pause
    shot preferences-options "$preferences"
    keys Escape
    pause

    xdotool windowfocus --sync "$main"
    keys ctrl+f
    find=$(window "Find Unit")
    xdotool type --delay 60 "inch of"
    pause
    shot find "$find"
    keys Escape
    pause
    xdotool windowfocus --sync "$main"
    keys F1
    help=$(window "Contents - Quantix 96 Help")
    pause
    shot help "$help"
    exit 0
fi

. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}" xvfb xauth xdotool imagemagick x11-utils qt6ct
scripts/build.sh >/dev/null
out=$(realpath -m "${1:-$BUILD_DIR/screenshots}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The desktop's settings as qt6ct keeps them: a font of the given size and
# the toolkit's own colours, or the default size in qt6ct's dark scheme.
desktop() {  # desktop FOLDER POINTS [COLOUR_SCHEME]
    local scheme=${3:-} custom=false
    [ -z "$scheme" ] || custom=true
    mkdir -p "$1/qt6ct"
    cat > "$1/qt6ct/qt6ct.conf" <<CONF
[Appearance]
style=Fusion
custom_palette=$custom
color_scheme_path=$scheme
standard_dialogs=default

[Fonts]
general="DejaVu Sans,$2,-1,5,50,0,0,0,0,0"
fixed="DejaVu Sans Mono,$2,-1,5,50,0,0,0,0,0"
CONF
}

for variant in default 14pt 20pt dark; do
    export XDG_CONFIG_HOME=$work/$variant
    mkdir -p "$XDG_CONFIG_HOME" "$out/$variant"
    case $variant in
        default) unset QT_QPA_PLATFORMTHEME ;;
        dark) desktop "$XDG_CONFIG_HOME" 9 /usr/share/qt6ct/colors/darker.conf; export QT_QPA_PLATFORMTHEME=qt6ct ;;
        *) desktop "$XDG_CONFIG_HOME" "${variant%pt}"; export QT_QPA_PLATFORMTHEME=qt6ct ;;
    esac
    xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --on-display "$out/$variant"
done
