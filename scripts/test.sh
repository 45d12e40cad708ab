#!/usr/bin/env bash
# Builds Quantix 96 with its tests and runs every test.
# With --sanitize: the same in build-sanitize/ with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR=build-sanitize ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    scripts/build.sh -DBUILD_TESTING=ON -DQUANTIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
    export BUILD_DIR=build
    scripts/build.sh -DBUILD_TESTING=ON
fi
cd "$BUILD_DIR"
ctest --output-on-failure -j2
