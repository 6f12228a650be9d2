#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package from a built folder (default: build) with `cpack -G DEB`, has lintian
# check it (no error, no warning; each override in packaging/debian/lintian-overrides says why),
# installs it with apt-get as a user would, checks what it installed, and removes it again. Needs
# root (or sudo) and the packages from scripts/setup.sh. Run by scripts/test.sh after the default
# tests.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

failures=0
fail() {
  echo "package-check: FAILED: $*" >&2
  failures=$((failures + 1))
}

rm -f "$build"/pentaro_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/pentaro_*.deb)
[[ -f ${debs[0]} ]] || { echo "package-check: cpack made no pentaro_*.deb" >&2; exit 1; }
deb=$(realpath "${debs[0]}")
echo "package-check: built $(basename "$deb")"
dpkg-deb --field "$deb" Depends
# Debian's own checker, as the archive runs it. It only warns that it runs as root.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2) ||
  fail "lintian"
# Lobbies are announced and found through the Avahi daemon, which the package recommends only.
dpkg-deb --field "$deb" Recommends | grep -q 'avahi-daemon' || fail "the package does not recommend avahi-daemon"

remove() { DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get purge -y -qq pentaro >/dev/null; }
trap remove EXIT
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$deb" >/dev/null

# The package holds what a Linux game installs.
listing=$(dpkg -L pentaro)
for path in \
  /usr/games/pentaro \
  /usr/games/pentaro-lobby \
  /usr/games/pentaro-bot \
  /usr/share/applications/org.pentaro.Pentaro.desktop \
  /usr/share/metainfo/org.pentaro.Pentaro.metainfo.xml \
  /usr/share/man/man6/pentaro.6.gz \
  /usr/share/man/man6/pentaro-lobby.6.gz \
  /usr/share/man/man6/pentaro-bot.6.gz \
  /usr/share/man/ja/man6/pentaro.6.gz \
  /usr/share/locale/en/LC_MESSAGES/pentaro.mo \
  /usr/share/doc/pentaro/copyright \
  /usr/share/doc/pentaro/changelog.gz \
  /usr/lib/systemd/system/pentaro-lobby.service \
  /etc/default/pentaro-lobby; do
  grep -qxF "$path" <<<"$listing" || fail "dpkg -L pentaro does not list $path"
done
for size in 16 22 24 32 48 64 96 128 256; do
  path=/usr/share/icons/hicolor/${size}x${size}/apps/pentaro.png
  grep -qxF "$path" <<<"$listing" || fail "dpkg -L pentaro does not list $path"
done
if grep -q '^/usr/local\|^/usr/bin/pentaro' <<<"$listing"; then
  fail "the package installs outside /usr/games and /usr/share"
fi

# The changelog's latest entry is this version.
version=$(dpkg-deb --field "$deb" Version)
changelog=$(mktemp)
zcat /usr/share/doc/pentaro/changelog.gz >"$changelog"
logged=$(dpkg-parsechangelog -l "$changelog" -S Version)
rm -f "$changelog"
[[ $logged == "$version" ]] || fail "the changelog's latest entry is $logged, the package $version"

# Every program answers --version (name and version, then its licence) and --help from its
# installed path; the usage lines name every option the help names, and so does its page.
for program in pentaro pentaro-lobby pentaro-bot; do
  [[ -x /usr/games/$program ]] || { fail "/usr/games/$program is not installed"; continue; }
  out=$(/usr/games/$program --version) || fail "$program --version exits non-zero"
  [[ ${out%%$'\n'*} == "$program $version" ]] ||
    fail "$program --version begins '${out%%$'\n'*}', not '$program $version'"
  grep -qxF "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>." \
    <<<"$out" || fail "$program --version does not state its licence"
  help=$(/usr/games/$program --help) || fail "$program --help exits non-zero"
  # The usage lines: the first, and those indented under it.
  usage=$(awk 'NR > 1 && !/^[[:space:]]/ { exit } { print }' <<<"$help")
  page=$(zcat "/usr/share/man/man6/$program.6.gz" | sed 's/\\-/-/g')
  for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
    grep -q -- "$option" <<<"$usage" || fail "the usage of $program leaves out $option"
    grep -q -- "$option" <<<"$page" || fail "the page of $program does not describe $option"
  done
  warnings=$(man --warnings -l -E UTF-8 "/usr/share/man/man6/$program.6.gz" 2>&1 >/dev/null || true)
  [[ -z $warnings ]] || fail "the page of $program: $warnings"
done

# The installed programs find the installed English catalog, also where the locale is not
# generated; with no language asked for they speak as they were written.
en_help=$(env -u LC_ALL -u LANGUAGE -u PENTARO_LOCALEDIR LANG=en_US.UTF-8 /usr/games/pentaro-lobby --help)
grep -qF '"Connect" toggle' <<<"$en_help" || fail "pentaro-lobby --help in English: $en_help"
ja_help=$(env -u LC_ALL -u LANGUAGE -u PENTARO_LOCALEDIR LANG=C.UTF-8 /usr/games/pentaro-lobby --help)
grep -qF '"接続" toggle' <<<"$ja_help" || fail "pentaro-lobby --help without a language: $ja_help"
warnings=$(man --warnings -l -E UTF-8 /usr/share/man/ja/man6/pentaro.6.gz 2>&1 >/dev/null || true)
[[ -z $warnings ]] || fail "the Japanese page of pentaro: $warnings"

# Without a display the window says how to start it, naming the program as it was started.
if nodisplay=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/games/pentaro 2>&1); then
  fail "pentaro without a display exits 0"
fi
grep -qF "xvfb-run -a /usr/games/pentaro" <<<"$nodisplay" ||
  fail "pentaro without a display does not name /usr/games/pentaro: $nodisplay"

desktop-file-validate /usr/share/applications/org.pentaro.Pentaro.desktop ||
  fail "desktop-file-validate"
appstreamcli validate --no-net /usr/share/metainfo/org.pentaro.Pentaro.metainfo.xml >/dev/null ||
  fail "appstreamcli validate"
# verify needs no running systemd: it loads the unit in a test manager.
if command -v systemd-analyze >/dev/null; then
  systemd-analyze verify /usr/lib/systemd/system/pentaro-lobby.service ||
    fail "systemd-analyze verify"
  # The unit's hardening stays where it was before D-Bus (AF_UNIX) was allowed: exposure 1.5 at
  # most. --offline needs systemd 252; older ones print nothing to compare.
  exposure=$(systemd-analyze security --offline=true /usr/lib/systemd/system/pentaro-lobby.service \
    2>/dev/null | sed -n 's/.*Overall exposure level for pentaro-lobby.service: \([0-9.]*\).*/\1/p')
  if [[ -n $exposure ]]; then
    echo "package-check: systemd-analyze security exposure $exposure"
    awk -v e="$exposure" 'BEGIN { exit !(e <= 1.5) }' || fail "the unit's exposure is $exposure, above 1.5"
  fi
else
  echo "package-check: no systemd-analyze here; the unit is not verified"
fi

# The service's environment file gives the game's port.
port=$(sed -n 's/^PENTARO_LOBBY_PORT=//p' /etc/default/pentaro-lobby)
[[ $port == 1230 ]] || fail "/etc/default/pentaro-lobby sets port '$port', not 1230"

trap - EXIT
remove
dpkg -s pentaro >/dev/null 2>&1 && fail "pentaro is still installed after apt-get purge"
if ((failures)); then
  echo "package-check: $failures check(s) failed" >&2
  exit 1
fi
echo "package-check: the package builds, installs, passes its checks and is removed"
