#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what building, running and testing Pentaro needs, from Debian's packages.
# Safe to run again: it does nothing when every package is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6gui6
  fonts-ipafont-gothic
  libgtest-dev libgmock-dev
  xvfb xauth
  qt6-translations-l10n gettext
  dpkg-dev file desktop-file-utils appstream systemd man-db lintian reuse
  libclang-rt-dev
  iproute2
  libavahi-client-dev dbus avahi-daemon avahi-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
