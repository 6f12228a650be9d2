#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The translation catalogs in po/: the template pentaro.pot extracted from the sources, and one
# <lang>.po per language listed in po/LINGUAS.
#   scripts/catalogs.sh update   re-extracts pentaro.pot and merges it into every <lang>.po
#                                (new texts arrive untranslated, changed ones fuzzy)
#   scripts/catalogs.sh check    fails when the sources hold a text that pentaro.pot lacks (or the
#                                other way round), or a language's entry is missing, untranslated,
#                                fuzzy, or has a printf format that does not match its msgid
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-check}

# The msgids are the Japanese source texts (UTF-8) passed to localized(), localizedUtf8() and
# translatable() of src/text/language.h.
extract() {
  local files
  mapfile -t files < <(find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
  xgettext --language=C++ --from-code=UTF-8 --keyword --keyword=localized \
    --keyword=localizedUtf8 --keyword=translatable --add-comments=TRANSLATORS: \
    --add-location=file --sort-by-file --package-name=pentaro \
    --package-version="$(sed -n 's/^project(Pentaro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" \
    --msgid-bugs-address= --copyright-holder="The Pentaro developers" -o "$1" "${files[@]}" \
    2>"$1.log" || { cat "$1.log" >&2; return 1; }
  # Its only warning is that no bug address is named: the project has none to name.
  rm -f "$1.log"
}

languages() { grep -v '^#' po/LINGUAS | tr -s ' \n' '\n' | sed '/^$/d'; }

case $mode in
  update)
    extract po/pentaro.pot
    for lang in $(languages); do
      msgmerge --quiet --update --backup=none --no-fuzzy-matching po/"$lang".po po/pentaro.pot
      msgattrib --no-obsolete -o po/"$lang".po po/"$lang".po
    done
    # The extraction's date would change every catalog on every update.
    sed -i '/^"POT-Creation-Date: /d' po/pentaro.pot po/*.po
    ;;
  check)
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    extract "$tmp/fresh.pot"
    status=0
    # Same msgids both ways: no text of the code missing from the template, none left over.
    if ! msgcmp --use-untranslated "$tmp/fresh.pot" po/pentaro.pot ||
      ! msgcmp --use-untranslated po/pentaro.pot "$tmp/fresh.pot"; then
      echo "catalogs: po/pentaro.pot is out of date with the code: run scripts/catalogs.sh update" >&2
      status=1
    fi
    for lang in $(languages); do
      # Every msgid of the code translated (fuzzy and empty entries count as missing), no entry
      # the code no longer has, and the formats agree.
      if ! msgcmp po/"$lang".po "$tmp/fresh.pot" ||
        ! msgcmp --use-untranslated --use-fuzzy "$tmp/fresh.pot" po/"$lang".po ||
        ! msgfmt --check --output-file=/dev/null po/"$lang".po; then
        echo "catalogs: po/$lang.po lacks translations or is out of date" >&2
        status=1
      fi
      if [[ -n $(msgattrib --only-fuzzy --no-obsolete po/"$lang".po) ||
        -n $(msgattrib --untranslated --no-obsolete po/"$lang".po) ]]; then
        echo "catalogs: po/$lang.po has fuzzy or untranslated entries" >&2
        status=1
      fi
    done
    exit $status
    ;;
  *)
    echo "usage: scripts/catalogs.sh update|check" >&2
    exit 2
    ;;
esac
