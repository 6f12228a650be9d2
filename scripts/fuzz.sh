#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the libFuzzer targets (preset "fuzz") and runs each one: first over its regression inputs
# (fuzz/regressions/<name>/, every input a past finding), then for SECONDS (default 20) from its
# seed corpus (fuzz/corpus/<name>/). Fails when any target crashes or breaks an invariant; the
# input that did it is kept under build-fuzz/findings/<name>/. Names given after SECONDS limit the
# run to those targets.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
scripts/build.sh fuzz

findings=build-fuzz/findings
targets=("$@")
if ((${#targets[@]} == 0)); then
  for exe in build-fuzz/fuzz/fuzz_*; do targets+=("${exe##*/fuzz_}"); done
fi

status=0
for name in "${targets[@]}"; do
  exe=build-fuzz/fuzz/fuzz_$name
  work=$(mktemp -d)
  mkdir -p "$findings/$name"
  flags=(-artifact_prefix="$findings/$name/" -timeout=10 -print_final_stats=1)
  case $name in message_fields | line_reader | lobby_*) flags+=(-dict=fuzz/protocol.dict) ;; esac
  echo "=== fuzz $name: regressions"
  if [[ -d fuzz/regressions/$name ]] && ! "$exe" "${flags[@]}" -runs=0 fuzz/regressions/"$name" \
    >"$work/log" 2>&1; then
    tail -n 40 "$work/log"
    echo "fuzz $name: a regression input fails again"
    status=1
    rm -rf "$work"
    continue
  fi
  echo "=== fuzz $name: ${seconds}s from the corpus"
  # New inputs go to a scratch folder; the checked-in corpus is only read.
  if "$exe" "${flags[@]}" -max_total_time="$seconds" "$work" fuzz/corpus/"$name" >"$work/log" 2>&1; then
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|Done )' "$work/log" || true
  else
    tail -n 60 "$work/log"
    echo "fuzz $name: finding kept in $findings/$name/ (copy it to fuzz/regressions/$name/ once mended)"
    status=1
  fi
  rm -rf "$work"
done
exit $status
