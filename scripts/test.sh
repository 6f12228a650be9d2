#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build (with the Qt window's tests under the
# offscreen platform), then the game, network, lobby and scenario tests under ThreadSanitizer and
# under AddressSanitizer with UBSan. Pass preset names to run only those (default tsan asan).
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
((${#presets[@]})) || presets=(default tsan asan)
status=0
for preset in "${presets[@]}"; do
  echo "=== $preset: build"
  scripts/build.sh "$preset"
  echo "=== $preset: test"
  ctest --preset "$preset" -j2 || status=1
done
exit $status
