#!/usr/bin/env bash
# Measures quantix96-convert on one million values (mile to kilometre, three
# decimals) against the floor program quantix96-floor and GNU units fed the
# same values, the converter's peak memory on one line of 1 GB, the start-up
# of the program and of one conversion as a process against bare Qt
# programs, then runs the in-process benchmark quantix96-bench and the
# records window's benchmark quantix96-recordsbench. Builds into build/
# first; extra arguments go to cmake.
# Prints values per second and their ratios, the peak resident memory
# against its bound of 32 MB, and the start-up times in milliseconds (medians)
# with their ratios, each against its goal.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
# libx11-dev: the launch timer watches the virtual display through Xlib.
ensure_packages units time xvfb libx11-dev "${RUN_PACKAGES[@]}"
scripts/build.sh "$@"

convert=build/cli/quantix96-convert
floor=build/bench/quantix96-floor
launch=build/bench/quantix96-launchtimer
work=$(mktemp -d)
xvfb_pid=""
trap '[ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
# Neither the user's settings nor their locale may change what is measured.
# The store is one a person would have after some use: the options set, a
# window position, two user units of length. Every program below reads it.
mkdir "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" LC_ALL=C.UTF-8 LANG=C.UTF-8
cat > "$work/config/Quantix96.conf" <<'SETTINGS'
[settings]
left=3000
top=1500
QuantityListIndex=16
Tab=3
numericformatting=3
scientific=false
save=false

[userunits]
Lengthnumber=2
Length1=rope of the yard (rp)
Lengthfactor1=6.096
Lengthused1=true
Length2=chain of the survey (ch)
Lengthfactor2=20.1168
Lengthused2=true
SETTINGS
count=1000000
units_sample=100000   # units is timed on this many first when the whole set would take long

# Deterministic values from 0.001 to 100000: the minimal standard generator
# (exact in awk's doubles), one in ten negative, one in seven with an exponent.
awk -v n="$count" 'BEGIN {
    state = 12345
    for (i = 0; i < n; i++) {
        m = 1 + next_below(900000) / 100000
        k = next_below(8) - 3
        v = m * 10 ^ k
        if (next_below(10) == 0) v = -v
        if (next_below(7) == 0) printf "%.4e\n", v
        else printf "%." (next_below(5) + (k < 0 ? -k : 0)) "f\n", v
    }
}
function next_below(limit) { state = (state * 48271) % 2147483647; return state % limit }' > "$work/values"

# Prints the wall-clock seconds a command takes, with its input and output files.
seconds() {
    local input=$1 output=$2 start end
    shift 2
    start=$(date +%s%N)
    "$@" < "$input" > "$output"
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.4f", ns / 1e9 }'
}

rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.0f", n / s }'; }

lesser() { awk -v a="$1" -v b="$2" 'BEGIN { m = (b == "" || a < b) ? a : b; print m }'; }

# The converter and the floor take turns, so that a busy moment of the
# machine falls on both.
best=""
floor_best=""
for run in 1 2 3; do
    t=$(seconds "$work/values" "$work/quantix.out" \
        "$convert" --decimals 3 Length "mile (US statute)" "kilometre (km)")
    best=$(lesser "$t" "$best")
    t=$(seconds "$work/values" "$work/floor.out" "$floor")
    floor_best=$(lesser "$t" "$floor_best")
done
[ "$(wc -l < "$work/quantix.out")" -eq "$count" ] || { echo "quantix96-convert lost lines" >&2; exit 1; }
[ "$(wc -l < "$work/floor.out")" -eq "$count" ] || { echo "quantix96-floor lost lines" >&2; exit 1; }
quantix_rate=$(rate "$count" "$best")
floor_rate=$(rate "$count" "$floor_best")
# The floor rounds the binary value, we round its shortest decimal text:
# the last digit may differ, nothing else.
floor_disagree=$(paste -d' ' "$work/floor.out" "$work/quantix.out" |
    awk '{ d = $1 - $2; if (d < 0) d = -d; if (d > 0.0011 * (1 + ($1 < 0 ? -$1 : $1) * 1e-15)) bad++ } END { print bad + 0 }')
[ "$floor_disagree" -eq 0 ] || { echo "quantix96-floor and quantix96-convert disagree on $floor_disagree values" >&2; exit 1; }

# units in terse mode reads "have" and "want" lines in turn and prints one
# number per pair.
awk '{ print $0 " mile"; print "km" }' "$work/values" > "$work/units.in"
head -n $((2 * units_sample)) "$work/units.in" > "$work/units.sample"
units=(units -t -o %.3f)
t=$(seconds "$work/units.sample" "$work/units.out" "${units[@]}")
units_note="all $count values"
units_count=$units_sample
if awk -v t="$t" -v f=$((count / units_sample)) 'BEGIN { exit !(t * f < 60) }'; then
    t=$(seconds "$work/units.in" "$work/units.out" "${units[@]}")
    units_count=$count
else
    units_note="first $units_sample values, scaled"
fi
[ "$(wc -l < "$work/units.out")" -eq "$units_count" ] || { echo "units did not answer every value" >&2; exit 1; }
units_rate=$(rate "$units_count" "$t")

# Both programs must agree to the last shown digit (they round halves differently).
disagree=$(paste -d' ' "$work/units.out" <(head -n "$units_count" "$work/quantix.out") |
    awk '{ d = $1 - $2; if (d < 0) d = -d; if (d > 0.0011 * (1 + ($1 < 0 ? -$1 : $1) * 1e-15)) bad++ } END { print bad + 0 }')

echo "Values: $count, mile to kilometre, 3 decimals"
printf '  quantix96-convert  %9.3f s (best of 3)  %12s values/s\n' "$best" "$quantix_rate"
printf '  floor program      %9.3f s (best of 3)  %12s values/s\n' "$floor_best" "$floor_rate"
printf '  GNU units          %9.3f s (%s)  %12s values/s\n' "$t" "$units_note" "$units_rate"
awk -v q="$quantix_rate" -v u="$units_rate" 'BEGIN {
    printf "  ratio              %9.1f x units\n", q / u
    printf "  targets: 3000000 values/s %s, 20 x units %s\n", (q >= 3000000 ? "met" : "MISSED"), (q >= 20 * u ? "met" : "MISSED")
}'
awk -v q="$quantix_rate" -v f="$floor_rate" 'BEGIN {
    printf "  floor / quantix96-convert  %.2f (goal: at most 1.30 %s)\n", f / q, (f / q <= 1.3 ? "met" : "MISSED")
}'
echo "  results that differ by more than the last digit: $disagree of $units_count"
echo

# One line of 1 GB of digits, made on the fly so that it never lands on the
# disk: the converter reads it in pieces, keeping only the digits that can
# decide the rounding. /usr/bin/time -v reports the peak resident memory.
line_bytes=1000000000
{ printf '0.'; head -c "$line_bytes" < <(yes 1234567890 | tr -d '\n'); printf '\n2\n'; } |
    /usr/bin/time -v -o "$work/time.txt" "$convert" --decimals 3 Length "mile (US statute)" "kilometre (km)" > "$work/long.out"
[ "$(cat "$work/long.out")" = "$(printf '.199\n3.219')" ] || { echo "quantix96-convert misread the long line" >&2; exit 1; }
peak_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$work/time.txt")
echo "One line of $line_bytes digits (then a short line)"
awk -v kb="$peak_kb" -v wall="$wall" 'BEGIN {
    printf "  peak resident memory %7.1f MB, %s wall clock\n", kb / 1024, wall
    printf "  target: under 32 MB %s\n", (kb < 32 * 1024 ? "met" : "MISSED")
}'
echo

# Start-up. Every program is timed from just before its fork by
# quantix96-launchtimer: to its exit, or to the maps of its windows on a
# virtual display of our own with no window manager. The program, the
# yardstick and the conversions take turns; one start of each first fills
# the caches of the system and of the display server.
[ -x "$launch" ] || { echo "quantix96-launchtimer was not built (Xlib headers missing?)" >&2; exit 1; }
starts=8
conversions=25
# The main window's design size, which it keeps at the default font.
read -r main_width main_height < <(awk '
    /<width>/ && !w { gsub(/[^0-9]/, ""); w = $0 }
    /<height>/ && !h { gsub(/[^0-9]/, ""); h = $0 }
    END { print w, h }' resources/forms/frmMain.ui)
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

program=(build/app/quantix96)
bare=(build/bench/quantix96-barewindow "$main_width" "$main_height")
one_conversion=("$convert" Length "mile (US statute)" "kilometre (km)" 1)
bare_conversion=(build/bench/quantix96-bareconfig)
[ "$("${one_conversion[@]}")" = 1.609 ] || { echo "quantix96-convert converted 1 mile wrongly" >&2; exit 1; }

# The splash is mapped first; the main window, which may have the same
# title, is the second window mapped.
"$launch" --maps 2 "${program[@]}" > /dev/null
"$launch" --maps 1 "${bare[@]}" > /dev/null
: > "$work/maps"
for run in $(seq "$starts"); do
    "$launch" --maps 2 "${program[@]}" | awk '{ print (NR == 1 ? "splash" : "main"), $2, $3 }' >> "$work/maps"
    "$launch" --maps 1 "${bare[@]}" | awk '{ print "bare", $2, $3 }' >> "$work/maps"
done
"$launch" "${one_conversion[@]}" > /dev/null
"$launch" "${bare_conversion[@]}" > /dev/null
: > "$work/exits"
for run in $(seq "$conversions"); do
    "$launch" "${one_conversion[@]}" | awk '{ print "convert", $2 }' >> "$work/exits"
    "$launch" "${bare_conversion[@]}" | awk '{ print "bareconfig", $2 }' >> "$work/exits"
done

# median NAME FILE: the median of the times of NAME's lines.
median() {
    awk -v name="$1" '$1 == name { print $2 }' "$2" | sort -g |
        awk '{ t[NR] = $1 } END { if (NR == 0) exit 1; print (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2) }'
}
size_of() { awk -v name="$1" '$1 == name { print $3; exit }' "$work/maps"; }
splash=$(median splash "$work/maps")
main=$(median main "$work/maps")
bare_ms=$(median bare "$work/maps")
convert_ms=$(median convert "$work/exits")
bareconfig_ms=$(median bareconfig "$work/exits")
[ "$(grep -c '^main ' "$work/maps")" -eq "$starts" ] || { echo "quantix96 did not map two windows in every start" >&2; exit 1; }
[ "$(size_of main)" = "$(size_of bare)" ] ||
    echo "note: the main window is $(size_of main), the bare window $(size_of bare): the yardstick is not the same size" >&2

echo "Start to window mapped (median of $starts starts, virtual display, no window manager)"
printf '  quantix96 splash          %7.1f ms  %s\n' "$splash" "$(size_of splash)"
printf '  quantix96 main window     %7.1f ms  %s\n' "$main" "$(size_of main)"
printf '  bare Qt Widgets window    %7.1f ms  %s\n' "$bare_ms" "$(size_of bare)"
awk -v s="$splash" -v m="$main" -v b="$bare_ms" 'BEGIN {
    printf "  main window / bare  %.2f (goal: at most 1.25 %s)\n", m / b, (m / b <= 1.25 ? "met" : "MISSED")
    printf "  splash / bare       %.2f (goal: at most 1.10 %s)\n", s / b, (s / b <= 1.10 ? "met" : "MISSED")
}'
echo "One conversion as a process (median of $conversions runs)"
printf '  quantix96-convert Length "mile (US statute)" "kilometre (km)" 1  %7.1f ms\n' "$convert_ms"
printf '  bare QtCore program reading the same settings file             %7.1f ms\n' "$bareconfig_ms"
awk -v c="$convert_ms" -v b="$bareconfig_ms" 'BEGIN {
    printf "  ratio  %.2f (goal: at most 1.10 %s)\n", c / b, (c / b <= 1.10 ? "met" : "MISSED")
}'
kill "$xvfb_pid" 2>/dev/null || true
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""
echo
build/bench/quantix96-bench
echo
QT_QPA_PLATFORM=offscreen build/bench/quantix96-recordsbench
