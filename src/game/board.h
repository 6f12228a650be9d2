// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One player's 5 x 5 grid, row by row (index = column + 5 * row). A cell holds 0 (empty),
// n (number n, not yet called) or -n (number n, called: "marked"). A plain value type.
#ifndef PENTARO_GAME_BOARD_H_
#define PENTARO_GAME_BOARD_H_

#include <array>
#include <cstdint>
#include <functional>

namespace pentaro {

class Board {
 public:
  static constexpr int kSide = 5;
  static constexpr int kCells = kSide * kSide;
  static constexpr int kHighestNumber = kCells;
  static constexpr int kLinesToWin = 5;

  // Receives the cells of each completed line, in line order, as (value, column, row).
  using LineSink = std::function<void(int value, int column, int row)>;

  // 0 outside the grid.
  int cell(int column, int row) const;
  // Takes the value as a signed 16-bit number; refuses a value above 25 or a position outside.
  bool setCell(int value, int column, int row);
  int cellAt(int index) const { return cells_[index]; }

  // Negates every cell that holds `number`.
  void mark(int number);
  // Counts the complete lines among the five columns, the five rows and the two diagonals, always
  // all twelve, handing each complete line's cells to `sink` when one is given.
  int countCompletedLines(const LineSink& sink = nullptr) const;
  bool hasFiveLines() const { return countCompletedLines() >= kLinesToWin; }
  // The opponent's map has arrived once its last cell is set.
  bool isFilled() const { return cell(kSide - 1, kSide - 1) != 0; }

  void clear() { cells_.fill(0); }
  friend bool operator==(const Board&, const Board&) = default;

 private:
  static bool inside(int column, int row) {
    return column >= 0 && column < kSide && row >= 0 && row < kSide;
  }
  std::array<std::int16_t, kCells> cells_{};
};

}  // namespace pentaro

#endif  // PENTARO_GAME_BOARD_H_
