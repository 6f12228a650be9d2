// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/board.h"

namespace pentaro {

int Board::cell(int column, int row) const {
  return inside(column, row) ? cells_[column + kSide * row] : 0;
}

bool Board::setCell(int value, int column, int row) {
  const auto narrowed = static_cast<std::int16_t>(value);
  if (narrowed > kHighestNumber || !inside(column, row)) return false;
  cells_[column + kSide * row] = narrowed;
  return true;
}

void Board::mark(int number) {
  // Only a number can be called: marking 0 or a negative value would empty or unmark cells.
  if (number <= 0) return;
  for (auto& c : cells_) {
    if (c == number) c = static_cast<std::int16_t>(-c);
  }
}

int Board::countCompletedLines(const LineSink& sink) const {
  // Each line as its first cell and the step from one cell to the next.
  struct Line {
    int column, row, dColumn, dRow;
  };
  std::array<Line, 12> lines{};
  for (int k = 0; k < kSide; ++k) {
    lines[k] = {k, 0, 0, 1};          // column k, top to bottom
    lines[kSide + k] = {0, k, 1, 0};  // row k, left to right
  }
  lines[10] = {0, 0, 1, 1};
  lines[11] = {kSide - 1, 0, -1, 1};

  int complete = 0;
  for (const Line& line : lines) {
    bool allMarked = true;
    for (int i = 0; i < kSide && allMarked; ++i) {
      allMarked = cell(line.column + i * line.dColumn, line.row + i * line.dRow) < 0;
    }
    if (!allMarked) continue;
    ++complete;
    if (!sink) continue;
    for (int i = 0; i < kSide; ++i) {
      const int column = line.column + i * line.dColumn, row = line.row + i * line.dRow;
      sink(cell(column, row), column, row);
    }
  }
  return complete;
}

}  // namespace pentaro
