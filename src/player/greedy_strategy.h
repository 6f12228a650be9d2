// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The normal strength ("ふつう"): the call that completes the most lines of its own board now;
// among equal calls, any one at random. One thread at a time.
#ifndef PENTARO_PLAYER_GREEDY_STRATEGY_H_
#define PENTARO_PLAYER_GREEDY_STRATEGY_H_

#include "player/strategy.h"

namespace pentaro {

class GreedyStrategy : public Strategy {
 public:
  using Strategy::Strategy;
  int chooseCall(const PlayerView& view) override;
};

}  // namespace pentaro

#endif  // PENTARO_PLAYER_GREEDY_STRATEGY_H_
