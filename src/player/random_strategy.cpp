// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "player/random_strategy.h"

#include <vector>

namespace pentaro {

int RandomStrategy::chooseCall(const PlayerView& view) {
  std::vector<int> open;
  for (int i = 0; i < Board::kCells; ++i) {
    if (view.own().cellAt(i) > 0) open.push_back(view.own().cellAt(i));
  }
  return open.empty() ? 0 : open[draw(static_cast<int>(open.size()))];
}

}  // namespace pentaro
