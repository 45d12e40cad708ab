#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under a prefix with blanks and
# checks the tree as a distribution would: exactly the expected files, the
# desktop entry, metainfo and manual pages accepted by their validators, the
# manual page of quantix96-convert in step with its --help, and the installed
# program, moved to another prefix with HOME and XDG_DATA_DIRS unset, finding
# its help file (and saying so when the file is gone).
# Usage: check-install.sh BUILD_DIR
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

# Under a virtual display: starts quantix96 from PREFIX, presses F1 in its
# main window and prints "help" when the help window opens, "message" when a
# message box opens instead, anything else on failure. The splash carries the
# main window's title for a moment, so a key that went to it is sent again.
if [ "${1:-}" = "--on-display" ]; then
    prefix=$2
    env -u HOME -u XDG_DATA_DIRS -u XDG_DATA_HOME -u QT_QPA_PLATFORM "$prefix/bin/quantix96" </dev/null >/dev/null 2>&1 &
    program=$!
    trap 'kill $program 2>/dev/null || true' EXIT
    windows() { xdotool search --all --onlyvisible --pid "$program" --name "$1" 2>/dev/null || true; }
    dialogs() {
        local window
        for window in $(windows '^Quantix 96$'); do
            xprop -id "$window" WM_TRANSIENT_FOR 2>/dev/null | grep -q 'window id' && echo "$window"
        done
    }
    for attempt in 1 2 3 4 5; do
        main=""
        for _ in $(seq 100); do
            main=$(windows '^Quantix 96$' | tail -n1)
            [ -n "$main" ] && break
            kill -0 $program 2>/dev/null || { echo "the program ended"; exit 0; }
            sleep 0.1
        done
        [ -n "$main" ] || { echo "no main window"; exit 0; }
        xdotool windowfocus --sync "$main" key F1 2>/dev/null || { sleep 0.3; continue; }
        for _ in $(seq 30); do
            [ -n "$(windows ' - Quantix 96 Help$')" ] && { echo help; exit 0; }
            [ -n "$(dialogs)" ] && { echo message; exit 0; }
            sleep 0.1
        done
    done
    echo nothing
    exit 0
fi

build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=io.github.quantix96.quantix96
prefix="/opt/Quantix 96"
DESTDIR="$work/dest" cmake --install "$build" --prefix "$prefix" >/dev/null
root="$work/dest$prefix"

expected=(
    bin/quantix96
    bin/quantix96-convert
    "share/quantix96/Quantix 96.hlp"
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/man/man1/quantix96.1.gz
    share/man/man1/quantix96-convert.1.gz
    share/bash-completion/completions/quantix96-convert
    share/doc/quantix96/copyright
    share/doc/quantix96/changelog.gz
)
for size in 16 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
diff -u <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) ||
    fail "the installed tree differs from the expected one (- expected, + installed)"
[ -z "$(cd "$work/dest" && find . -mindepth 1 -maxdepth 1 ! -name opt)" ] || fail "files outside the prefix"
for program in quantix96 quantix96-convert; do
    [ -x "$root/bin/$program" ] || fail "bin/$program is not executable"
done
for size in 16 32 48 64 128 256; do
    file "$root/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
        fail "the ${size}x$size icon is not a $size-pixel PNG"
done
grep -qx "Icon=$id" "$root/share/applications/$id.desktop" || fail "the desktop entry names another icon"

desktop-file-validate "$root/share/applications/$id.desktop" > "$work/desktop.log" 2>&1 || true
[ ! -s "$work/desktop.log" ] || { cat "$work/desktop.log"; fail "desktop-file-validate"; }
appstreamcli validate --no-net --pedantic "$root/share/metainfo/$id.metainfo.xml" > "$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli validate"; }
version=$("$root/bin/quantix96-convert" --version | awk '{ print $2 }')
grep -q "<release version=\"$version\"" "$root/share/metainfo/$id.metainfo.xml" || fail "the metainfo lacks release $version"
for page in quantix96 quantix96-convert; do
    gzip -t "$root/share/man/man1/$page.1.gz" || fail "$page.1.gz is not gzip"
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/share/man/man1/$page.1.gz" 2> "$work/man.log" > "$work/man.txt" ||
        fail "man could not show $page(1)"
    [ ! -s "$work/man.log" ] || { cat "$work/man.log"; fail "man --warnings on $page(1)"; }
    grep -q "Quantix 96 $version" "$work/man.txt" || fail "$page(1) is not the manual of version $version"
done

# Every option of --help has an entry in the manual page and the reverse;
# the arguments --help names appear in the synopsis.
help_options() {
    "$root/bin/quantix96-convert" --help | sed -n '/^Options:/,/^$/{ s/^  \(-.*\)/\1/p }' |
        sed -e 's/  .*//' -e 's/<\([^>]*\)>/\1/g'
}
page_source() { gzip -dc "$root/share/man/man1/quantix96-convert.1.gz"; }
page_options() {   # the tag line of every .TP under OPTIONS, its arguments joined as troff joins them
    page_source | sed -n '/^\.SH OPTIONS/,/^\.SH /p' | awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 }' |
        while read -r macro arguments; do printf '%s' "$arguments" | xargs printf '%s'; echo; done
}
diff -u <(help_options | sort) <(page_options | sort) ||
    fail "the options of quantix96-convert(1) differ from its --help (- --help, + manual page)"
synopsis=$(page_source | sed -n '/^\.SH SYNOPSIS/,/^\.SH /p')
for argument in $("$root/bin/quantix96-convert" --help | sed -n '/^Arguments:/,/^$/{ s/^  \([A-Z]\+\) .*/\1/p }'); do
    grep -q "$argument" <<< "$synopsis" || fail "the synopsis of quantix96-convert(1) lacks $argument"
done

# The tree works wherever it is moved.
moved="$work/moved prefix"
mv "$root" "$moved"
[ "$(HOME= XDG_CONFIG_HOME="$work" "$moved/bin/quantix96-convert" --decimals 1 Length "mile (US statute)" "kilometre (km)" 1)" = 1.6 ] ||
    fail "the moved quantix96-convert does not convert"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
on_display() { xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display "$1"; }
outcome=$(on_display "$moved")
[ "$outcome" = help ] || fail "the moved program did not open its help (F1 gave: $outcome)"
rm "$moved/share/quantix96/Quantix 96.hlp"
outcome=$(on_display "$moved")
[ "$outcome" = message ] || fail "without its help file the program did not explain (F1 gave: $outcome)"
echo "The installed tree is complete, valid and works from $moved."
