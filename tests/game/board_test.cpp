#include "game/board.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

namespace pentaro {
namespace {

using Cell = std::tuple<int, int, int>;  // value, column, row

// Cells given row by row.
Board boardOf(const std::array<int, Board::kCells>& cells) {
  Board board;
  for (int i = 0; i < Board::kCells; ++i) {
    EXPECT_TRUE(board.setCell(cells[i], i % Board::kSide, i / Board::kSide));
  }
  return board;
}

// 1..25 row by row, with the numbers in `called` marked.
Board numbered(const std::vector<int>& called) {
  Board board;
  for (int i = 0; i < Board::kCells; ++i) board.setCell(i + 1, i % 5, i / 5);
  for (int n : called) board.mark(n);
  return board;
}

TEST(GameBoard, CellOutsideTheGridReadsZero) {
  const Board board = numbered({});
  EXPECT_EQ(board.cell(0, 0), 1);
  EXPECT_EQ(board.cell(4, 0), 5);
  EXPECT_EQ(board.cell(0, 1), 6);
  EXPECT_EQ(board.cell(4, 4), 25);
  EXPECT_EQ(board.cell(5, 0), 0);
  EXPECT_EQ(board.cell(0, 5), 0);
  EXPECT_EQ(board.cell(-1, 2), 0);
  EXPECT_EQ(board.cell(2, -1), 0);
}

TEST(GameBoard, SetCellRefusesValuesAbove25AndPositionsOutside) {
  Board board = numbered({});
  EXPECT_FALSE(board.setCell(26, 1, 1));
  EXPECT_EQ(board.cell(1, 1), 7);
  EXPECT_FALSE(board.setCell(5, 5, 0));
  EXPECT_FALSE(board.setCell(5, 0, -1));
  EXPECT_EQ(board, numbered({}));

  EXPECT_TRUE(board.setCell(-3, 1, 1));  // a called 3, as a received map may carry it
  EXPECT_EQ(board.cell(1, 1), -3);
  EXPECT_TRUE(board.setCell(0, 1, 1));
  EXPECT_EQ(board.cell(1, 1), 0);
  EXPECT_TRUE(board.setCell(25, 1, 1));

  // The value is a signed 16-bit number: 65536 + 7 is 7, 65536 + 26 is 26.
  EXPECT_TRUE(board.setCell(65536 + 7, 2, 2));
  EXPECT_EQ(board.cell(2, 2), 7);
  EXPECT_FALSE(board.setCell(65536 + 26, 2, 2));
  EXPECT_EQ(board.cell(2, 2), 7);
}

TEST(GameBoard, MarkNegatesEveryCellHoldingTheNumber) {
  // A received map may hold a number twice; both are marked.
  Board board = numbered({});
  board.setCell(9, 0, 0);
  board.mark(9);
  EXPECT_EQ(board.cell(0, 0), -9);
  EXPECT_EQ(board.cell(3, 1), -9);
  board.mark(9);  // already called: unchanged
  EXPECT_EQ(board.cell(0, 0), -9);
  board.mark(26);
  board.mark(99);
  EXPECT_EQ(board.cell(4, 4), 25);
}

// Marking is for called numbers only: 0 would "mark" empty cells and a negative number would
// unmark called ones.
TEST(GameBoard, MarkOfZeroOrANegativeNumberChangesNothing) {
  Board board = numbered({3});
  board.setCell(0, 4, 4);
  const Board before = board;
  board.mark(0);
  board.mark(-3);
  board.mark(-7);
  EXPECT_EQ(board, before);
  EXPECT_EQ(board.cell(2, 0), -3);
}

TEST(GameBoard, CompletedLinesAreHandedOverInLineOrder) {
  // Column 2, row 1 and both diagonals complete: (2,2) lies on three of them, (2,1) on two.
  const Board board = numbered({3, 8, 13, 18, 23, 6, 7, 9, 10, 1, 19, 25, 5, 17, 21});
  std::vector<Cell> seen;
  const int count =
      board.countCompletedLines([&](int v, int c, int r) { seen.emplace_back(v, c, r); });
  EXPECT_EQ(count, 4);
  // clang-format off
  const std::vector<Cell> expected = {
      {-3, 2, 0}, {-8, 2, 1}, {-13, 2, 2}, {-18, 2, 3}, {-23, 2, 4},  // column 2, top to bottom
      {-6, 0, 1}, {-7, 1, 1}, {-8, 2, 1},  {-9, 3, 1},  {-10, 4, 1},  // row 1, left to right
      {-1, 0, 0}, {-7, 1, 1}, {-13, 2, 2}, {-19, 3, 3}, {-25, 4, 4},  // (0,0) to (4,4)
      {-5, 4, 0}, {-9, 3, 1}, {-13, 2, 2}, {-17, 1, 3}, {-21, 0, 4}}; // (4,0) to (0,4)
  // clang-format on
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(board.countCompletedLines(), 4);
}

TEST(GameBoard, ColumnsComeBeforeRows) {
  const Board board = numbered({21, 22, 23, 24, 25, 4, 9, 14, 19});  // row 4 and column 3
  std::vector<Cell> seen;
  EXPECT_EQ(board.countCompletedLines([&](int v, int c, int r) { seen.emplace_back(v, c, r); }), 2);
  ASSERT_EQ(seen.size(), 10u);
  EXPECT_EQ(seen[0], Cell(-4, 3, 0));
  EXPECT_EQ(seen[4], Cell(-24, 3, 4));
  EXPECT_EQ(seen[5], Cell(-21, 0, 4));
  EXPECT_EQ(seen[9], Cell(-25, 4, 4));
}

TEST(GameBoard, CountingDoesNotStopAtFive) {
  std::vector<int> all;
  for (int n = 1; n <= 25; ++n) all.push_back(n);
  const Board full = numbered(all);
  int handed = 0;
  EXPECT_EQ(full.countCompletedLines([&](int, int, int) { ++handed; }), 12);
  EXPECT_EQ(handed, 60);
  EXPECT_TRUE(full.hasFiveLines());
}

TEST(GameBoard, FiveLinesOrMore) {
  std::vector<int> called;
  for (int n = 1; n <= 20; ++n) called.push_back(n);
  Board board = numbered(called);  // rows 0..3
  EXPECT_EQ(board.countCompletedLines(), 4);
  EXPECT_FALSE(board.hasFiveLines());
  board.mark(22);  // column 1, on no diagonal
  EXPECT_EQ(board.countCompletedLines(), 5);
  EXPECT_TRUE(board.hasFiveLines());
  board.mark(25);  // column 4 and the diagonal
  EXPECT_EQ(board.countCompletedLines(), 7);
  EXPECT_TRUE(board.hasFiveLines());
}

TEST(GameBoard, EmptyCellsNeverComplete) {
  Board board;
  EXPECT_EQ(board.countCompletedLines(), 0);
  board = numbered({1, 2, 3, 4});
  board.setCell(0, 4, 0);  // row 0: four called numbers and a hole
  EXPECT_EQ(board.countCompletedLines(), 0);
}

TEST(GameBoard, FilledLooksOnlyAtTheLastCell) {
  Board board = numbered({});
  board.setCell(0, 4, 4);
  EXPECT_FALSE(board.isFilled());
  Board onlyLast;
  onlyLast.setCell(-25, 4, 4);
  EXPECT_TRUE(onlyLast.isFilled());
  std::array<int, Board::kCells> cells{};
  cells[24] = 7;
  EXPECT_TRUE(boardOf(cells).isFilled());
}

}  // namespace
}  // namespace pentaro
