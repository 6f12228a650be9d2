// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Matches between two strategies in one process, without sockets: each side has its own boards,
// random source and match model as its program would, the maps are exchanged by value, and every
// call is made on the caller's model and received on the other's.
// The first move alternates, A first in the first match. Repeatable for a seed. One thread.
#ifndef PENTARO_PLAYER_SELF_PLAY_H_
#define PENTARO_PLAYER_SELF_PLAY_H_

#include <cstdint>

#include "player/strategy.h"

namespace pentaro {

struct SideRecord {
  int wins = 0;
  int losses = 0;
  int draws = 0;
  friend bool operator==(const SideRecord&, const SideRecord&) = default;
};

struct SelfPlayTally {
  SideRecord a;
  SideRecord b;
  long calls = 0;
  // Faults that must stay 0: a call that was not an uncalled number of the caller's board, a
  // match that did not end after every number was called, the two sides seeing different results.
  int illegalCalls = 0;
  int unfinished = 0;
  int disagreements = 0;
  friend bool operator==(const SelfPlayTally&, const SelfPlayTally&) = default;
};

class SelfPlay {
 public:
  SelfPlay(Level a, Level b, std::uint32_t seed);
  SelfPlayTally run(int matches);

 private:
  void playOne(bool aFirst, SelfPlayTally& tally);

  std::unique_ptr<Strategy> a_;
  std::unique_ptr<Strategy> b_;
  std::uint32_t seed_;
};

}  // namespace pentaro

#endif  // PENTARO_PLAYER_SELF_PLAY_H_
