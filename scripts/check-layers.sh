#!/usr/bin/env bash
# Fails when a layer under src/ includes a header of a layer it may not depend on. Dependencies
# point one way: app -> player -> shell -> client, server -> participants, game -> net, ui -> text
# -> base. A new folder under src/ must be added to the table below.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [base]=""
  [text]="base"
  [net]="base text"
  [ui]="base text"
  [game]="base text ui"
  [participants]="base text ui net"
  [server]="base text ui net participants"
  [client]="base text ui net participants game"
  [shell]="base text ui net participants game server client"
  [player]="base text ui net participants game server client shell"
  [app]="base text ui net participants game server client shell player"
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
((status == 0)) && echo "check-layers: every include points down"
exit $status
