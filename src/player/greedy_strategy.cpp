// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "player/greedy_strategy.h"

#include "player/board_lines.h"

namespace pentaro {

int GreedyStrategy::chooseCall(const PlayerView& view) {
  const CellMask marked = view.ownMarked();
  int best = 0, bestLines = -1, ties = 0;
  for (int i = 0; i < Board::kCells; ++i) {
    const int number = view.own().cellAt(i);
    if (number <= 0) continue;
    const int lines = completedLines(marked | CellMask{1} << i);
    if (lines > bestLines) {
      best = number, bestLines = lines, ties = 1;
    } else if (lines == bestLines && draw(++ties) == 0) {
      best = number;  // each of the equal calls ends up chosen with the same chance
    }
  }
  return best;
}

}  // namespace pentaro
