// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The weak strength ("よわい"): calls any uncalled number of its board, each equally likely.
// One thread at a time.
#ifndef PENTARO_PLAYER_RANDOM_STRATEGY_H_
#define PENTARO_PLAYER_RANDOM_STRATEGY_H_

#include "player/strategy.h"

namespace pentaro {

class RandomStrategy : public Strategy {
 public:
  using Strategy::Strategy;
  int chooseCall(const PlayerView& view) override;
};

}  // namespace pentaro

#endif  // PENTARO_PLAYER_RANDOM_STRATEGY_H_
