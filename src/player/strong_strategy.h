// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The strong strength ("つよい"). A call is judged by every way to five lines that remains: each
// set of five lines counts with a weight that falls steeply with the cells it still needs, so the
// call that brings the nearest ways nearer, and keeps the most of them open, scores best. The
// opponent's board is hidden; when the completed lines the window shows of it follow a board
// filled in a plain order (1, 2, 3, ... by rows or columns, or backwards), the unseen cells are
// read off that order and a call is also judged by what it gives the opponent. The placement is
// a uniform shuffle, which shows the opponent no such order. One thread at a time.
#ifndef PENTARO_PLAYER_STRONG_STRATEGY_H_
#define PENTARO_PLAYER_STRONG_STRATEGY_H_

#include <optional>

#include "player/board_lines.h"
#include "player/strategy.h"

namespace pentaro {

class StrongStrategy : public Strategy {
 public:
  using Strategy::Strategy;
  int chooseCall(const PlayerView& view) override;

  // How near `marked` is to five lines: the sum over every set of five lines of a weight that
  // falls with the cells still missing. Higher is nearer.
  static double nearness(CellMask marked);
  // The opponent's board as an order of filling read from the cells shown so far; nothing when
  // no cell is shown or no plain order fits them all.
  static std::optional<Placement> readOpponentOrder(const PlayerView::ShownCells& shown);
};

}  // namespace pentaro

#endif  // PENTARO_PLAYER_STRONG_STRATEGY_H_
