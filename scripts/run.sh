#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up, builds and starts the game. Without a display it says how to run it under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  cat >&2 <<'MSG'
There is no display here (DISPLAY is not set), so the game window cannot open.
Run it on a virtual display instead:
  xvfb-run -a -s "-screen 0 1024x768x24" build/src/app/pentaro
or host a lobby without any window:
  build/src/server/pentaro-lobby --port 1230
MSG
  exit 1
fi
exec build/src/app/pentaro "$@"
