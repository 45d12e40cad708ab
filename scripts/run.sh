#!/usr/bin/env bash
# Builds Quantix 96 and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}"
scripts/build.sh -DBUILD_TESTING=OFF
exec build/app/quantix96 "$@"
