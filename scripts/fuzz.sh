#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for
# SECONDS (default 60). The corpora grow in build-fuzz/corpus/<target>; an
# input that breaks a target is kept as build-fuzz/findings/<target>-crash-*.
# Exits with 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev
seconds=${1:-60}
case $seconds in '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2 ;; esac

BUILD_DIR=build-fuzz scripts/build.sh -DCMAKE_CXX_COMPILER=clang++ -DQUANTIX_FUZZ=ON -DBUILD_TESTING=OFF

# Settings and locale of the user play no part.
export XDG_CONFIG_HOME=$PWD/build-fuzz/config LC_ALL=C.UTF-8 LANG=C.UTF-8
export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p "$XDG_CONFIG_HOME" build-fuzz/findings

# A few inputs of the kinds each target reads, for a corpus that starts empty.
seed() {
    local corpus=build-fuzz/corpus/$1
    shift
    mkdir -p "$corpus"
    [ -n "$(ls -A "$corpus")" ] && return 0
    local n=0
    for input in "$@"; do
        printf '%b' "$input" > "$corpus/seed$((n += 1))"
    done
}
seed fuzz_typedvalue '42' '-1.5e3' ' 1 2.5 D-2' '&HFF' '&o17' '.000E+0' '0.0000001e10' '1.7976931348623157e308'
# 8 bytes of a double (little-endian), then decimals + 128 for the scientific style:
# 1, -0.1, the largest double, the smallest, and 9.9996, 0.9996, -999.5 whose rounding carries.
seed fuzz_formatresult '\x00\x00\x00\x00\x00\x00\xf0\x3f\x03' '\x9a\x99\x99\x99\x99\x99\xb9\xbf\x88' \
    '\xff\xff\xff\xff\xff\xff\xef\x7f\x83' '\x01\x00\x00\x00\x00\x00\x00\x00\x08' \
    '\xc7\x29\x3a\x92\xcb\xff\x23\x40\x83' '\x78\x9c\xa2\x23\xb9\xfc\xef\x3f\x03' '\x00\x00\x00\x00\x00\x3c\x8f\xc0\x00'
seed fuzz_storedfactor '1609.344' '1.609,344' '-2,5E-3' ' 1e308 ' '1,234.5'
seed fuzz_inifile '[settings]\nleft=1\ntop=2\n' '; c\r\n[units]\r\nLength=0\r\n' '[settings]\nleft="a\nb"\nbroken\n[x' \
    'k=a\\\nb;c\n[%General]\nleft=%U0041\n'

status=0
for target in fuzz_typedvalue fuzz_formatresult fuzz_storedfactor fuzz_inifile; do
    echo "== $target, $seconds s"
    build-fuzz/fuzz/$target -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$target-" "build-fuzz/corpus/$target" 2> "build-fuzz/$target.log" ||
        { status=1; echo "$target found a fault:"; }
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|==[0-9]+==|SUMMARY|fuzz_)' "build-fuzz/$target.log" || true
done
[ $status -eq 0 ] && echo "No findings." || echo "Findings are in build-fuzz/findings; full logs in build-fuzz/*.log."
exit $status
