#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Soak run: a pentaro-lobby and ten computer players that challenge and play each other flat out,
# then the checks. Usage: scripts/soak.sh [MINUTES] | scripts/soak.sh --seconds N
# (default 1 minute; MINUTES may be a fraction). Uses the default build (build/), or BUILD_DIR.
# Prints matches played, lines relayed, disagreeing results, lost connections, players ended for
# flooding, the host's RSS at start and end, and the CPU time (user + system, all threads) the
# host and the players used per relayed line; exits non-zero when a check fails.
# SOAK_PLAYERS sets the number of computer players (default 10). SOAK_HOST is the host address
# the players join (default 127.0.0.1); SOAK_PLAYERS_NETNS, a network namespace (a path such as
# /proc/PID/ns/net) the players run in, on the far side of a link to the host's.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
case "${1:-}" in
  --seconds) seconds=${2:?--seconds needs a number} ;;
  "") ;;
  *) seconds=$(awk -v m="$1" 'BEGIN { printf "%d", m * 60 }') ;;
esac
[[ "$seconds" =~ ^[0-9]+$ && "$seconds" -gt 0 ]] || { echo "soak: not a duration: $*" >&2; exit 2; }

build=${BUILD_DIR:-build}
lobby_bin=$build/src/server/pentaro-lobby
bot_bin=$build/src/player/pentaro-bot
for bin in "$lobby_bin" "$bot_bin"; do
  [[ -x "$bin" ]] || { echo "soak: $bin is missing; build first (scripts/build.sh)" >&2; exit 2; }
done

readonly players=${SOAK_PLAYERS:-10}
readonly host=${SOAK_HOST:-127.0.0.1}
in_players_netns=()
[[ -n "${SOAK_PLAYERS_NETNS:-}" ]] && in_players_netns=(nsenter "--net=$SOAK_PLAYERS_NETNS" --)
readonly rss_growth_limit_kb=4096  # the host's RSS may grow by at most this over the run
work=$(mktemp -d)
lobby_pid=""
bot_pid=""
cleanup() {
  [[ -n "$bot_pid" ]] && kill "$bot_pid" 2>/dev/null || true
  [[ -n "$lobby_pid" ]] && kill "$lobby_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
# User and system CPU of a process and all its threads, ended ones included, in clock ticks. The
# command name (field 2) may hold spaces, so the fields are counted from its closing parenthesis.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12, $13 }'; }
ticks_per_second=$(getconf CLK_TCK)

# A free ephemeral port: the lobby says "listening" or fails at once when the port is taken.
for attempt in 1 2 3 4 5; do
  port=$((49152 + RANDOM % 16000))
  "$lobby_bin" --port "$port" >"$work/lobby.log" 2>"$work/lobby.err" &
  lobby_pid=$!
  for _ in $(seq 50); do
    grep -q '^listening' "$work/lobby.log" && break
    kill -0 "$lobby_pid" 2>/dev/null || break
    sleep 0.1
  done
  grep -q '^listening' "$work/lobby.log" && break
  wait "$lobby_pid" 2>/dev/null || true
  lobby_pid=""
done
[[ -n "$lobby_pid" ]] || { echo "soak: the lobby could not listen" >&2; cat "$work/lobby.err" >&2; exit 1; }

# nsenter runs the players in their namespace without a process of its own (it execs them).
"${in_players_netns[@]}" "$bot_bin" --host "$host" --port "$port" --count "$players" --challenge \
  --pause-ms 0 --name soak --seed "$RANDOM" >"$work/bots.log" 2>&1 &
bot_pid=$!
# The start: every player has joined.
for _ in $(seq 100); do
  (($(grep -c '^join ' "$work/lobby.log") >= players)) && break
  sleep 0.1
done
rss_start=$(rss_kb "$lobby_pid")
echo "soak: $players players on port $port for $seconds s"
sleep "$seconds"
rss_end=$(rss_kb "$lobby_pid")


# The players' CPU up to the end of their drain: the last sample before they exit.
kill -TERM "$bot_pid"
read -r bot_user bot_sys < <(cpu_ticks "$bot_pid")
while kill -0 "$bot_pid" 2>/dev/null && sample=$(cpu_ticks "$bot_pid" 2>/dev/null) &&
  [[ -n "$sample" ]]; do
  read -r bot_user bot_sys <<<"$sample"
  sleep 0.05
done
bot_status=0
wait "$bot_pid" || bot_status=$?
bot_pid=""
read -r lobby_user lobby_sys < <(cpu_ticks "$lobby_pid")
kill -TERM "$lobby_pid"
wait "$lobby_pid" || true
lobby_pid=""

joined=$(grep -c '^join ' "$work/lobby.log" || true)
started=$(grep -c ' started$' "$work/lobby.log" || true)
relayed=$(awk '/^lines received / { print $3 }' "$work/lobby.log")
# Each side logs "match NAME vs OPPONENT: RESULT"; for every pair, one side's wins must be the
# other's losses and both must count the same draws.
read -r decided aborted disagreeing < <(awk '
  /^match / {
    me = $2; them = $4; sub(/:$/, "", them); result = $5
    if (result == "aborted") { aborted++; next }
    if (result == "win") wins[me SUBSEP them]++
    else if (result == "loss") losses[me SUBSEP them]++
    else if (result == "draw") draws[me SUBSEP them]++
    else odd++
    seen[me SUBSEP them] = 1; seen[them SUBSEP me] = 1
    sides++
  }
  END {
    bad = odd + 0
    for (pair in seen) {
      split(pair, p, SUBSEP); back = p[2] SUBSEP p[1]
      bad += (wins[pair] + 0 != losses[back] + 0) + (p[1] < p[2] && draws[pair] + 0 != draws[back] + 0)
    }
    printf "%d %d %d\n", sides / 2, aborted + 0, bad
  }' "$work/bots.log")
lost=$(grep -c '^lost connection' "$work/bots.log" || true)
flooded=$(grep -c '^flood ' "$work/lobby.log" || true)
growth=$((rss_end - rss_start))

echo "players joined:        $joined"
echo "matches started:       $started"
echo "matches decided:       $decided (ended undecided: $aborted)"
echo "lines relayed:         $relayed"
echo "disagreeing results:   $disagreeing"
echo "lost connections:      $lost"
echo "ended for flooding:    $flooded"
echo "host RSS:              ${rss_start} kB at start, ${rss_end} kB at end (${growth} kB)"
awk -v lu="$lobby_user" -v ls="$lobby_sys" -v bu="$bot_user" -v bs="$bot_sys" \
  -v hz="$ticks_per_second" -v lines="$relayed" -v seconds="$seconds" 'BEGIN {
  total = (lu + ls + bu + bs) / hz
  printf "CPU (user + system):   host %.2f + %.2f s, players %.2f + %.2f s, %.2f cores\n",
         lu / hz, ls / hz, bu / hz, bs / hz, total / seconds
  printf "CPU per relayed line:  %.3f ms\n", (lines > 0 ? 1000 * total / lines : 0)
}'

status=0
fail() { echo "soak: FAILED: $*" >&2; status=1; }
((joined >= players)) || fail "only $joined of $players players joined"
((decided > 0)) || fail "no match was decided"
((disagreeing == 0)) || fail "$disagreeing pairs of players disagree on their results"
((lost == 0)) || fail "$lost players lost their connection"
((flooded == 0)) || fail "$flooded players were ended for flooding"
((growth <= rss_growth_limit_kb)) || fail "the host's RSS grew by $growth kB"
((bot_status == 0)) || fail "pentaro-bot ended with status $bot_status"
((status == 0)) && echo "soak: passed"
exit $status
