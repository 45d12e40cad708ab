#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs
# each in turn for SECONDS (default 60) or, with --runs N, until N inputs
# have run, whichever comes first. Without TARGET names it runs them all.
# The corpora start from fuzz/seeds/<target> and grow in
# build-fuzz/corpus/<target>; an input that breaks a target is kept as
# build-fuzz/findings/<target>-crash-*. Exits with 1 when any target found
# something.
#   scripts/fuzz.sh [--runs N] [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

usage() { echo "usage: scripts/fuzz.sh [--runs N] [SECONDS] [TARGET...]" >&2; exit 2; }
number() { case $1 in '' | *[!0-9]*) usage ;; esac; }
runs=-1
if [ "${1:-}" = "--runs" ]; then
    number "${2:-}"
    runs=$2
    shift 2
fi
seconds=60
if [ $# -gt 0 ] && [ -z "${1//[0-9]/}" ]; then
    seconds=$1
    shift
fi
all=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
targets=("$@")
[ ${#targets[@]} -gt 0 ] || read -r -a targets <<< "$(echo $all)"
for target in "${targets[@]}"; do
    grep -qx "$target" <<< "$all" || { echo "no fuzz target $target; there are:" $all >&2; exit 2; }
done

BUILD_DIR=build-fuzz scripts/build.sh -DCMAKE_CXX_COMPILER=clang++ -DQUANTIX_FUZZ=ON -DBUILD_TESTING=OFF

# Settings and locale of the user play no part.
export XDG_CONFIG_HOME=$PWD/build-fuzz/config LC_ALL=C.UTF-8 LANG=C.UTF-8
export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p "$XDG_CONFIG_HOME" build-fuzz/findings

status=0
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    cp -n fuzz/seeds/$target/* "$corpus/"
    options=(-max_total_time="$seconds" -runs="$runs" -max_len=8192 -print_final_stats=1)
    [ -f fuzz/${target#fuzz_}.dict ] && options+=(-dict=fuzz/${target#fuzz_}.dict)
    limit="at most $seconds s"
    [ "$runs" -ge 0 ] && limit+=" or $runs runs"
    echo "== $target, $limit"
    nice build-fuzz/fuzz/$target "${options[@]}" -artifact_prefix="build-fuzz/findings/$target-" "$corpus" \
        2> "build-fuzz/$target.log" || { status=1; echo "$target found a fault:"; }
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::new_units_added|==[0-9]+==|SUMMARY|fuzz_)' \
        "build-fuzz/$target.log" || true
done
[ $status -eq 0 ] && echo "No findings." || echo "Findings are in build-fuzz/findings; full logs in build-fuzz/*.log."
exit $status
