#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks that every file of the project states its copyright and licence (`reuse lint`): in its
# own header, or through REUSE.toml. A reuse older than 3.0 (Debian 12 has 1.1) cannot read
# REUSE.toml; it then checks a copy of the project's files with REUSE.toml written as the
# .reuse/dep5 that it reads (scripts/reuse-toml-to-dep5.py).
set -euo pipefail
cd "$(dirname "$0")/.."
# "reuse 1.1.2" before 4.0, "reuse, version 5.0.2" since.
version=$(reuse --version | sed -nE 's/^reuse,? (version )?([0-9]+)\..*/\2/p')
if ((version >= 3)); then
  exec reuse lint
fi
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
# The files git tracks or would track, as they are in the work tree.
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done >"$copy/.files"
tar --null -T "$copy/.files" -cf - | tar -xf - -C "$copy"
mkdir "$copy/.reuse"
scripts/reuse-toml-to-dep5.py <"$copy/.files" >"$copy/.reuse/dep5"
rm "$copy/.files"
git -C "$copy" init -q  # reuse looks for a repository; this one ignores nothing
status=0
(cd "$copy" && reuse lint) | sed "s|$copy/||" || status=$?
exit $status
