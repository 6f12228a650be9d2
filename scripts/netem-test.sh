#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The lobby on a bad network, each case in a network namespace of its own, so that every packet
# stays inside it (root and `unshare --net` needed; otherwise the whole run is skipped):
#   restart  the host is killed with SIGKILL mid-match and started again: both computer players
#            must be back in within 35 s;
#   ghost    from a moment on every packet is dropped: the host must drop the silent player, and
#            the player the silent host, within 60 s;
#   badlink  200 ms round trip, 5 % loss and reordering: two computer players play whole
#            matches for 60 s with agreeing results and no connection lost (scripts/soak.sh).
# The bad link is netem on the loopback. Where the kernel has none (module sch_netem), the players
# run in a second namespace joined to the host's by two TUN devices and lossy_link, the same link
# in user space (tests/support/lossy_link.cpp).
# Usage: scripts/netem-test.sh [CASE...]   Uses the default build (build/), or BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
lobby_bin=$build/src/server/pentaro-lobby
bot_bin=$build/src/player/pentaro-bot
link_bin=$build/tests/lossy_link

if [[ "${1:-}" != --inside ]]; then
  cases=("$@")
  ((${#cases[@]})) || cases=(restart ghost badlink)
  for bin in "$lobby_bin" "$bot_bin"; do
    [[ -x "$bin" ]] || { echo "netem-test: $bin is missing; build first" >&2; exit 2; }
  done
  if [[ $(id -u) -ne 0 ]] || ! unshare --net true 2>/dev/null; then
    echo "netem-test: SKIPPED: network namespaces need root (unshare --net)"
    exit 0
  fi
  status=0
  for case in "${cases[@]}"; do
    echo "=== netem-test: $case"
    unshare --net "$0" --inside "$case" || status=1
  done
  exit $status
fi

# Inside the namespace: only its own loopback exists.
case=$2
ip link set lo up
work=$(mktemp -d)
pids=()
cleanup() {
  { for pid in "${pids[@]}"; do kill -TERM "$pid" || true; done; wait; } 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
readonly port=1230
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }
# Waits up to $2 seconds until `grep -c "$3" "$1"` reaches $4.
wait_count() {
  local file=$1 limit=$2 pattern=$3 count=$4 start found
  start=$(now)
  for (( ; ; )); do
    found=$(grep -c -- "$pattern" "$file" 2>/dev/null) || found=0
    ((found >= count)) && return 0
    awk -v s="$start" -v l="$limit" -v n="$(now)" 'BEGIN { exit !(n - s > l) }' && return 1
    sleep 0.1
  done
}
start_lobby() {
  "$lobby_bin" --port $port >>"$work/lobby.log" 2>&1 &
  lobby_pid=$!
  pids+=("$lobby_pid")
}
netem() { tc qdisc add dev lo root netem "$@" 2>/dev/null; }
# No netem: `far_side LOSSY_LINK_ARGS...` starts lossy_link and a namespace for the players behind
# it; the players join $host there, through `in_players COMMAND...`. Addresses from the
# benchmarking range, seen only inside these namespaces.
host=127.0.0.1
in_players() { "$@"; }
far_side() {
  [[ -x "$link_bin" ]] || { echo "netem-test: $link_bin is missing; build first" >&2; exit 2; }
  "$link_bin" "$@" tun-host tun-players >"$work/link.log" 2>&1 &
  link_pid=$!
  pids+=("$link_pid")
  wait_count "$work/link.log" 5 '^ready' 1 || { echo "netem-test: lossy_link did not start"; cat "$work/link.log"; exit 1; }
  unshare --net sleep infinity &
  players_ns=$!
  pids+=("$players_ns")
  until [[ $(readlink "/proc/$players_ns/ns/net") != $(readlink /proc/self/ns/net) ]]; do sleep 0.05; done
  in_players() { nsenter "--net=/proc/$players_ns/ns/net" -- "$@"; }
  ip link set tun-players netns "$players_ns"
  ip addr add 198.18.0.1 peer 198.18.0.2 dev tun-host
  ip link set tun-host up
  in_players ip link set lo up
  in_players ip addr add 198.18.0.2 peer 198.18.0.1 dev tun-players
  in_players ip link set tun-players up
  host=198.18.0.1
}
link_figures() {
  kill -TERM "$link_pid"
  wait "$link_pid" 2>/dev/null || true
  echo "netem-test: lossy_link: $(tail -n 1 "$work/link.log")"
}

case $case in
  restart)
    start_lobby
    wait_count "$work/lobby.log" 5 '^listening' 1 || { echo "netem-test: the lobby did not start"; exit 1; }
    "$bot_bin" --port $port --count 2 --challenge --pause-ms 300 --name cpu >"$work/bots.log" 2>&1 &
    pids+=($!)
    bot_pid=$!
    wait_count "$work/lobby.log" 20 ' started$' 1 || { echo "netem-test: no match started"; exit 1; }
    { kill -9 "$lobby_pid"; wait "$lobby_pid"; } 2>/dev/null || true
    killed=$(now)
    : >"$work/lobby.log"
    start_lobby
    if ! wait_count "$work/bots.log" 35 '^rejoined ' 2 || ! wait_count "$work/lobby.log" 1 '^join ' 2; then
      echo "netem-test: FAILED: the players were not back within 35 s"; cat "$work/bots.log"; exit 1
    fi
    echo "netem-test: both players back $(since "$killed") s after the host was killed"
    wait_count "$work/lobby.log" 30 ' started$' 1 || { echo "netem-test: FAILED: no match after the restart"; exit 1; }
    kill -TERM "$bot_pid"
    wait "$bot_pid" || { echo "netem-test: FAILED: pentaro-bot ended with $?"; exit 1; }
    grep '^stopped' "$work/bots.log"
    ;;
  ghost)
    have_netem=false
    if netem delay 0ms; then have_netem=true; else far_side --delay-ms 0; fi
    start_lobby
    wait_count "$work/lobby.log" 5 '^listening' 1 || { echo "netem-test: the lobby did not start"; exit 1; }
    in_players "$bot_bin" --host $host --port $port --name ghost --pause-ms 0 >"$work/bots.log" 2>&1 &
    pids+=($!)
    wait_count "$work/lobby.log" 10 '^join ' 1 || { echo "netem-test: the player did not join"; exit 1; }
    if $have_netem; then
      tc qdisc change dev lo root netem loss 100%
      how="netem loss 100 %"
    else
      kill -USR1 "$link_pid"
      how="lossy_link cut (no netem here)"
    fi
    silent=$(now)
    wait_count "$work/lobby.log" 60 '^leave 0 ghost' 1 || { echo "netem-test: FAILED: the host kept the ghost for 60 s"; exit 1; }
    echo "netem-test: $how: the host dropped the silent player after $(since "$silent") s"
    wait_count "$work/bots.log" 60 '^lost connection ghost' 1 || { echo "netem-test: FAILED: the player kept the silent host for 60 s"; exit 1; }
    echo "netem-test: $how: the player noticed the silent host after $(since "$silent") s"
    $have_netem || link_figures
    ;;
  badlink)
    if netem delay 100ms reorder 25% 50% loss 5%; then
      # 100 ms each way through the loopback: a 200 ms round trip between a player and the host.
      SOAK_PLAYERS=2 scripts/soak.sh --seconds 60
      exit
    fi
    far_side --delay-ms 100 --loss 5 --reorder 25 --seed "$RANDOM"
    echo "netem-test: no netem here: lossy_link, 100 ms each way, 5 % loss, 25 % overtaking"
    status=0
    SOAK_PLAYERS=2 SOAK_HOST=$host SOAK_PLAYERS_NETNS="/proc/$players_ns/ns/net" \
      scripts/soak.sh --seconds 60 || status=$?
    link_figures
    exit $status
    ;;
  *)
    echo "netem-test: unknown case $case" >&2
    exit 2
    ;;
esac
