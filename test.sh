#!/usr/bin/env bash
# Sets up if needed, builds, and runs every test: unit, integration and browser.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/setup"
build="${QV_BUILD_DIR:-$here/build}"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
