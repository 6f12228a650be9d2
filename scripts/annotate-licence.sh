#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes the copyright and licence header into every file of the project that can carry one and
# has none yet, in the comment syntax of its kind: after a "#!" or "<?xml" first line, otherwise
# at the top. Safe to run again, and after files were added: a file whose first lines already
# name its licence is left alone, and so is every file that REUSE.toml covers (those that cannot
# carry a header). A file of a kind this script does not know fails it, so that it is given one
# or the other. scripts/reuse-lint.sh checks the result.
set -euo pipefail
cd "$(dirname "$0")/.."
holder="The Pentaro developers"
year=$(date +%Y)

# REUSE-IgnoreStart
failures=0
annotate() {  # file, comment style, licence
  local file=$1 style=$2 licence=$3 copyright="SPDX-FileCopyrightText: $year $holder"
  local tag="SPDX-License-Identifier: $licence" header first
  case $style in
    slash) header="// $copyright"$'\n'"// $tag"$'\n' ;;
    hash) header="# $copyright"$'\n'"# $tag"$'\n' ;;
    html) header="<!--"$'\n'"$copyright"$'\n'"$tag"$'\n'"-->"$'\n' ;;
    roff) header=".\\\" $copyright"$'\n'".\\\" $tag" ;;  # a blank line would print one
  esac
  first=$(head -n 1 "$file")
  {
    if [[ $first == '#!'* || $first == '<?xml'* ]]; then
      printf '%s\n' "$first"
      printf '%s\n' "$header"
      tail -n +2 "$file"
    else
      printf '%s\n' "$header"
      cat "$file"
    fi
  } >"$file.annotating"
  chmod --reference="$file" "$file.annotating"
  mv "$file.annotating" "$file"
  echo "annotate-licence: $file"
}

files=$(mktemp)
trap 'rm -f "$files"' EXIT
git ls-files -z --cached --others --exclude-standard >"$files"
declare -A covered
while IFS= read -r -d '' file; do
  covered[$file]=1
done < <(scripts/reuse-toml-to-dep5.py --covered <"$files")

while IFS= read -r -d '' file; do
  [[ -f $file && -z ${covered[$file]+set} && $file != LICENSES/* ]] || continue
  head -n 10 "$file" | grep -q 'SPDX-License-Identifier:' && continue  # a header is on top
  licence=GPL-3.0-or-later
  # AppStream asks for metadata under a permissive licence; the metainfo file says which.
  [[ $file == *.metainfo.xml ]] && licence=CC0-1.0
  case $file in
    *.cpp | *.h | *.cc | *.hpp | *.c) annotate "$file" slash "$licence" ;;
    *.sh | *.py | *.cmake | CMakeLists.txt | */CMakeLists.txt | *.toml | *.desktop | *.in | \
      *.default | *.dict | *.yml | *.yaml | *.service | *.conf | .gitignore | .gitattributes | \
      .clang-format | .clang-format-ignore | .clang-tidy | *.supp | .ci/* | \
      packaging/debian/postinst | packaging/debian/prerm | packaging/debian/postrm | \
      packaging/debian/lintian-overrides)
      annotate "$file" hash "$licence" ;;
    *.md | *.xml | *.qrc | *.svg) annotate "$file" html "$licence" ;;
    *.[1-9]) annotate "$file" roff "$licence" ;;
    *)
      echo "annotate-licence: no comment syntax known for $file: add its kind here, or cover" \
        "it in REUSE.toml" >&2
      failures=$((failures + 1)) ;;
  esac
done <"$files"
# REUSE-IgnoreEnd
exit $((failures > 0))
