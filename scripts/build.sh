#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Configures and builds one preset (default: "default") after installing what is missing.
# PENTARO_WERROR=ON in the environment turns warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
scripts/setup.sh
cmake --preset "$preset" -DPENTARO_WERROR="${PENTARO_WERROR:-OFF}" >/dev/null
cmake --build --preset "$preset"
