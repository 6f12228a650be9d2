// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a person at the window sees of a match, and all a strategy may use: the own board with its
// marks (which are the called numbers), and of the hidden opponent board only the cells of its
// completed lines, with their numbers, as the board painter draws them. The received map itself
// cannot be carried. A plain value type.
#ifndef PENTARO_PLAYER_PLAYER_VIEW_H_
#define PENTARO_PLAYER_PLAYER_VIEW_H_

#include <array>

#include "game/board.h"
#include "player/board_lines.h"

namespace pentaro {

class PlayerView {
 public:
  using ShownCells = std::array<int, Board::kCells>;  // 0: hidden; n: number n shown there

  // The view of a player whose program holds `own` and, as received, `opponent`.
  static PlayerView of(const Board& own, const Board& opponent);
  PlayerView(const Board& own, const ShownCells& shownOpponent);

  const Board& own() const { return own_; }
  bool isCalled(int number) const;
  // The own board's index of `number`; -1 when it is not on the board.
  int indexOf(int number) const;
  CellMask ownMarked() const;
  const ShownCells& shownOpponent() const { return shownOpponent_; }
  int shownOpponentCount() const;

 private:
  Board own_;
  ShownCells shownOpponent_{};
};

}  // namespace pentaro

#endif  // PENTARO_PLAYER_PLAYER_VIEW_H_
