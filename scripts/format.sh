#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Formats the C++ sources in place with the root .clang-format; with --check, only reports the
# files that would change. Only *.cpp and *.h tracked by git are passed: clang-format knows C++
# only and would mangle CMake files (see .clang-format-ignore).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [[ "${1:-}" == --check ]]; then
  clang-format --dry-run --Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi
