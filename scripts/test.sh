#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up, builds and runs every test: the layer check, the licence check (`reuse lint`), the
# normal build (with the Qt window's tests under the offscreen platform; it is also packaged,
# installed and checked by scripts/package-check.sh), the clang build with its lock-annotation
# checks, then the game, network, lobby and scenario tests under ThreadSanitizer and under
# AddressSanitizer with UBSan. In each build, CTest's avahi_namespace runs the lobby discovery
# against a real Avahi daemon in namespaces of its own (tests/discovery/avahi_namespace.sh; as
# root, else it is skipped). Warnings are errors here. After the normal build's tests, a
# 20-second soak run of a lobby with ten computer players, then the lobby on a bad network in
# network namespaces (a host killed and restarted, a silent peer, a slow lossy link;
# scripts/netem-test.sh, about two minutes); last, every fuzz target briefly (scripts/fuzz.sh).
# Pass preset names to run only those (default: default clang tsan asan fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
((${#presets[@]})) || presets=(default clang tsan asan fuzz)
export PENTARO_WERROR=ON
scripts/setup.sh
scripts/check-layers.sh
scripts/reuse-lint.sh
status=0
for preset in "${presets[@]}"; do
  if [[ $preset == fuzz ]]; then scripts/fuzz.sh || status=1; continue; fi
  echo "=== $preset: build"
  scripts/build.sh "$preset"
  echo "=== $preset: test"
  ctest --preset "$preset" -j2 || status=1
  if [[ $preset == default ]]; then
    echo "=== default: Debian package"
    scripts/package-check.sh build || status=1
    echo "=== default: soak"
    scripts/soak.sh --seconds 20 || status=1
    echo "=== default: bad network"
    scripts/netem-test.sh || status=1
  fi
done
exit $status
