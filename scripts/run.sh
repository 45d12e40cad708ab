#!/usr/bin/env bash
# Builds Quantix 96 and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh -DBUILD_TESTING=OFF
exec build/cli/quantix96-convert --help
