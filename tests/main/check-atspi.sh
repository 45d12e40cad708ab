#!/usr/bin/env bash
# The main window as a screen reader meets it: starts the program in a
# session of its own (a virtual display, a session bus and the accessibility
# bus), chooses Length, metre to foot and types 2.5 with the keyboard, then
# reads the names of the window's controls through AT-SPI (atspi-names.py).
# Usage: check-atspi.sh PROGRAM
set -euo pipefail

if [ "${1:-}" = "--in-session" ]; then
    program=$2
    here=$(dirname "$0")
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    launcher=$!
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" </dev/null >/dev/null 2>"$XDG_RUNTIME_DIR/program.log" &
    pid=$!
    trap 'kill $pid $launcher 2>/dev/null || true' EXIT
    # The splash has the main window's title and lives until the main window
    # is shown: the main window is the one left when the first one seen has
    # gone, or the only one after two seconds (a splash too quick to be seen).
    main="" first="" since=0
    for i in $(seq 150); do
        kill -0 "$pid" 2>/dev/null || { echo "the program ended:" >&2; cat "$XDG_RUNTIME_DIR/program.log" >&2; exit 1; }
        ids=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Quantix 96$' 2>/dev/null || true)
        if [ -n "$ids" ]; then
            [ -n "$first" ] || { first=$(head -n1 <<<"$ids"); since=$i; }
            if ! grep -qx "$first" <<<"$ids"; then
                main=$(head -n1 <<<"$ids")
                break
            fi
            if [ $((i - since)) -ge 20 ] && [ "$(wc -l <<<"$ids")" = 1 ]; then
                main=$first
                break
            fi
        fi
        sleep 0.1
    done
    [ -n "$main" ] || { echo "no main window" >&2; exit 1; }
    xdotool windowfocus --sync "$main"
    # The closed lists find a name as it is typed.
    xdotool type --delay 80 "Length"
    xdotool key Tab
    xdotool type --delay 80 "metre (m)"
    xdotool key Tab
    xdotool type --delay 80 "foot (ft)"
    xdotool key Tab
    xdotool type --delay 80 "2.5"
    /usr/bin/python3 "$here/atspi-names.py"
    exit
fi

program=$(realpath "$1")
for tool in Xvfb dbus-run-session xdotool /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/test.sh installs it)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "python3-pyatspi is missing (scripts/test.sh installs it)" >&2; exit 1; }
work=$(mktemp -d)
xvfb=""
trap '[ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_CONFIG_HOME=$work XDG_RUNTIME_DIR=$work/runtime
unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME WAYLAND_DISPLAY
# A display of our own: the server picks a free number and says which, and
# keeps running when the accessibility bus, its first client, lets go of it.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")
dbus-run-session -- "$0" --in-session "$program" 2> >(grep -v 'fd limit' >&2)
