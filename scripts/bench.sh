#!/usr/bin/env bash
# Measures quantix96-convert on one million values (mile to kilometre, three
# decimals) against the floor program quantix96-floor and GNU units fed the
# same values, the converter's peak memory on one line of 1 GB, then runs the
# in-process benchmark quantix96-bench. Builds into build/ first; extra
# arguments go to cmake. Prints values per second and their ratios, and the
# peak resident memory against its bound of 32 MB.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages units time
scripts/build.sh "$@"

convert=build/cli/quantix96-convert
floor=build/bench/quantix96-floor
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Neither the user's settings nor their locale may change what is measured.
mkdir "$work/config"
export XDG_CONFIG_HOME="$work/config" LC_ALL=C.UTF-8 LANG=C.UTF-8
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
build/bench/quantix96-bench
