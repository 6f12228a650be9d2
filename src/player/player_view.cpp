// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "player/player_view.h"

#include <cstdlib>

namespace pentaro {

PlayerView PlayerView::of(const Board& own, const Board& opponent) {
  ShownCells shown{};
  // Exactly what the painter draws on the hidden board: the cells of the completed lines.
  opponent.countCompletedLines([&shown](int value, int column, int row) {
    shown[column + Board::kSide * row] = std::abs(value);
  });
  return PlayerView(own, shown);
}

PlayerView::PlayerView(const Board& own, const ShownCells& shownOpponent)
    : own_(own), shownOpponent_(shownOpponent) {}

int PlayerView::indexOf(int number) const {
  if (number < 1 || number > Board::kHighestNumber) return -1;
  for (int i = 0; i < Board::kCells; ++i) {
    if (std::abs(own_.cellAt(i)) == number) return i;
  }
  return -1;
}

bool PlayerView::isCalled(int number) const {
  const int index = indexOf(number);
  return index >= 0 && own_.cellAt(index) < 0;
}

CellMask PlayerView::ownMarked() const {
  CellMask marked = 0;
  for (int i = 0; i < Board::kCells; ++i) {
    if (own_.cellAt(i) < 0) marked |= CellMask{1} << i;
  }
  return marked;
}

int PlayerView::shownOpponentCount() const {
  int count = 0;
  for (int value : shownOpponent_) count += value != 0 ? 1 : 0;
  return count;
}

}  // namespace pentaro
