#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails when a layer under src/ includes a header of a layer it may not depend on, or when a
# control identifier (IDC_*, CMD_*) appears outside the Qt front end. Dependencies point one way:
# app -> player -> shell -> client, server; client -> participants, game; server -> participants,
# discovery -> net; game -> ui; net, ui -> text -> base. A new folder under src/ must be added to the table.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [base]=""
  [text]="base"
  [net]="base text"
  [discovery]="base text net"
  [ui]="base text"
  [game]="base text ui"
  [participants]="base text ui net"
  [server]="base text ui net participants discovery"
  [client]="base text ui net participants game"
  [shell]="base text ui net discovery participants game server client"
  [player]="base text ui net discovery participants game server client shell"
  [app]="base text ui net discovery participants game server client shell player"
)

status=0
for dir in src/*/; do
  layer=$(basename "$dir")
  if [[ -z ${allowed[$layer]+set} ]]; then
    echo "check-layers: src/$layer is not in the layer table of $0" >&2
    status=1
    continue
  fi
  while IFS=: read -r file line include; do
    target=${include#*\"}
    target=${target%%/*}
    [[ $target == "$layer" ]] && continue
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "$file:$line: the $layer layer may not include $target/ (${include})" >&2
      status=1
    fi
  done < <(grep -rnoE '^#include "[a-z_]+/[^"]+"' "$dir" || true)
done
# Control identifiers belong to the Qt window: the core reports typed events to its views.
if grep -rnE '\b(IDC|CMD)_[A-Z_]+' src --include='*.h' --include='*.cpp' | grep -v '^src/app/'; then
  echo "check-layers: control identifiers (IDC_, CMD_) outside src/app (above)" >&2
  status=1
fi
((status == 0)) && echo "check-layers: every include points down, control ids stay in the app"
exit $status
