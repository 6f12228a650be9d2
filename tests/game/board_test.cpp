// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/board.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace pentaro {
namespace {

using Cell = std::tuple<int, int, int>;  // value, column, row

// 1..25 row by row, with the numbers in `called` marked.
Board numbered(const std::vector<int>& called = {}) {
  Board board;
  for (int i = 0; i < Board::kCells; ++i) board.setCell(i + 1, i % 5, i / 5);
  for (int n : called) board.mark(n);
  return board;
}

TEST(GameBoard, SetCell) {
  Board board = numbered();
  EXPECT_EQ(board.cell(4, 1), 10);
  EXPECT_EQ(board.cell(5, 0), 0);
  EXPECT_EQ(board.cell(0, -1), 0);
  EXPECT_FALSE(board.setCell(26, 1, 1));
  EXPECT_FALSE(board.setCell(5, 5, 0));
  EXPECT_FALSE(board.setCell(5, 0, -1));
  EXPECT_FALSE(board.setCell(65536 + 26, 1, 1));  // taken as a 16-bit number: 26
  EXPECT_EQ(board, numbered());

  EXPECT_TRUE(board.setCell(-3, 1, 1));  // a called 3, as a received map may carry it
  EXPECT_EQ(board.cell(1, 1), -3);
  EXPECT_TRUE(board.setCell(0, 1, 1));
  EXPECT_EQ(board.cell(1, 1), 0);
  EXPECT_TRUE(board.setCell(65536 + 7, 1, 1));
  EXPECT_EQ(board.cell(1, 1), 7);
}

TEST(GameBoard, Mark) {
  Board board = numbered();
  board.setCell(9, 0, 0);  // a received map may hold a number twice
  board.mark(9);
  board.mark(9);
  EXPECT_EQ(board.cell(0, 0), -9);
  EXPECT_EQ(board.cell(3, 1), -9);

  // Only numbers are called: 0 would "mark" empty cells, a negative number unmark called ones.
  board.setCell(0, 4, 4);
  const Board before = board;
  board.mark(0);
  board.mark(-9);
  board.mark(26);
  EXPECT_EQ(board, before);
}

TEST(GameBoard, CompletedLinesAreHandedOverInLineOrder) {
  // Column 2, row 1 and both diagonals: (2,2) lies on three of them, (2,1) and others on two.
  const Board board = numbered({3, 8, 13, 18, 23, 6, 7, 9, 10, 1, 19, 25, 5, 17, 21});
  std::vector<Cell> seen;
  EXPECT_EQ(board.countCompletedLines([&](int v, int c, int r) { seen.emplace_back(v, c, r); }), 4);
  // clang-format off
  const std::vector<Cell> expected = {
      {-3, 2, 0}, {-8, 2, 1}, {-13, 2, 2}, {-18, 2, 3}, {-23, 2, 4},  // column 2, top to bottom
      {-6, 0, 1}, {-7, 1, 1}, {-8, 2, 1},  {-9, 3, 1},  {-10, 4, 1},  // row 1, left to right
      {-1, 0, 0}, {-7, 1, 1}, {-13, 2, 2}, {-19, 3, 3}, {-25, 4, 4},  // (0,0) to (4,4)
      {-5, 4, 0}, {-9, 3, 1}, {-13, 2, 2}, {-17, 1, 3}, {-21, 0, 4}}; // (4,0) to (0,4)
  // clang-format on
  EXPECT_EQ(seen, expected);

  // Columns come before rows.
  seen.clear();
  numbered({21, 22, 23, 24, 25, 4, 9, 14, 19}).countCompletedLines([&](int v, int c, int r) {
    seen.emplace_back(v, c, r);
  });
  ASSERT_EQ(seen.size(), 10u);
  EXPECT_EQ(seen[0], Cell(-4, 3, 0));
  EXPECT_EQ(seen[5], Cell(-21, 0, 4));
}

TEST(GameBoard, CountingDoesNotStopAtFive) {
  std::vector<int> called;
  for (int n = 1; n <= 20; ++n) called.push_back(n);
  Board board = numbered(called);  // rows 0..3
  EXPECT_EQ(board.countCompletedLines(), 4);
  EXPECT_FALSE(board.hasFiveLines());
  board.mark(22);  // column 1, on no diagonal
  EXPECT_EQ(board.countCompletedLines(), 5);
  EXPECT_TRUE(board.hasFiveLines());
  board.mark(25);  // column 4 and a diagonal
  EXPECT_EQ(board.countCompletedLines(), 7);
  EXPECT_TRUE(board.hasFiveLines());
  for (int n : {21, 23, 24}) board.mark(n);
  EXPECT_EQ(board.countCompletedLines(), 12);
}

TEST(GameBoard, EmptyCellsNeverCompleteALine) {
  Board board = numbered({1, 2, 3, 4});
  board.setCell(0, 4, 0);
  EXPECT_EQ(board.countCompletedLines(), 0);
  EXPECT_EQ(Board().countCompletedLines(), 0);
}

TEST(GameBoard, FilledLooksOnlyAtTheLastCell) {
  Board board = numbered();
  board.setCell(0, 4, 4);
  EXPECT_FALSE(board.isFilled());
  Board onlyLast;
  onlyLast.setCell(-25, 4, 4);
  EXPECT_TRUE(onlyLast.isFilled());
}

}  // namespace
}  // namespace pentaro
