#!/usr/bin/env bash
# Sets up if needed, builds, and runs every test: unit, integration and browser; then the
# engine's tests once more in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
jobs="$(nproc)"

"$here/scripts/setup"
build="${QV_BUILD_DIR:-$here/build}"

status=0
(cd "$build" && ctest --output-on-failure -j"$jobs" "$@") || status=$?

if [ "${QV_SKIP_SANITIZERS:-0}" != 1 ]; then
  asan="${QV_ASAN_BUILD_DIR:-$here/build-asan}"
  echo "== Engine tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
  cmake -S "$here" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BUILD_BENCH=OFF >/dev/null
  # The engine's test suites, the fuzz targets' replays of their kept inputs, and the data
  # that ships beside the programs (the configuration and CMaps the engine tests read).
  targets=$(cmake --build "$asan" --target help |
    sed -n 's/^\(qv_tests_pdf_[a-z_]*\|fuzz_[a-z_]*_replay\|qv_resources\):.*/\1/p' | sort -u)
  # shellcheck disable=SC2086
  cmake --build "$asan" --target $targets
  (cd "$asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j"$jobs" -L engine) || status=$?
fi
exit "$status"
