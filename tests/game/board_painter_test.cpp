// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/board_painter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/memory_canvas.h"

namespace pentaro {
namespace {

constexpr int kSide = 100, kCell = 20;
constexpr Rgb kFace = MemoryCanvas::kButtonFace;

Board numbered(const std::vector<int>& called = {}) {
  Board board;
  for (int i = 0; i < Board::kCells; ++i) board.setCell(i + 1, i % 5, i / 5);
  for (int n : called) board.mark(n);
  return board;
}

Rgb cellColour(const MemoryCanvas& canvas, int column, int row) {
  return canvas.pixel(column * kCell + kCell / 2, row * kCell + kCell / 2);
}

// Black lines at x = k * 20 and y = k * 20; the sixth lines lie just outside the canvas, so
// every other pixel has the colour of its cell.
void expectGridOver(const MemoryCanvas& canvas, const std::vector<Rgb>& cellColours) {
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const Rgb expected =
          x % kCell == 0 || y % kCell == 0 ? kBlack : cellColours[x / kCell + 5 * (y / kCell)];
      ASSERT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(GameBoardPainter, ShownBoardIsWhiteCellsWithBlackNumbers) {
  MemoryCanvas canvas(kSide, kSide);
  Board board = numbered();
  board.setCell(0, 3, 1);  // empty
  paintBoard(canvas, board, true);
  expectGridOver(canvas, std::vector<Rgb>(25, kWhite));

  // One text per cell, column by column, centred in its cell.
  const auto& texts = canvas.texts();
  ASSERT_EQ(texts.size(), 25u);
  for (int i = 0; i < 25; ++i) {
    const int column = i / 5, row = i % 5, value = board.cell(column, row);
    EXPECT_EQ(texts[i].text, value == 0 ? " " : std::to_string(value));
    EXPECT_EQ(texts[i].colour, kBlack);
    EXPECT_EQ(texts[i].rect.left, column * kCell);
    EXPECT_EQ(texts[i].rect.top, row * kCell);
    EXPECT_EQ(texts[i].rect.right, (column + 1) * kCell);
    EXPECT_EQ(texts[i].rect.bottom, (row + 1) * kCell);
  }
}

TEST(GameBoardPainter, MarksFrameTheBoardToMoveAndTheLastCallOnShownBoardsOnly) {
  MemoryCanvas canvas(kSide, kSide);
  paintBoard(canvas, numbered({7}), true, BoardMarks{true, 7});
  EXPECT_EQ(canvas.pixel(50, kTurnFrameWidth - 1), kMarkColour);  // the turn frame
  EXPECT_EQ(canvas.pixel(kSide - 1, 50), kMarkColour);
  EXPECT_EQ(canvas.pixel(50, kTurnFrameWidth), kWhite);  // the frame ends, the cell goes on
  EXPECT_EQ(canvas.pixel(kCell + 1, kCell + kCell / 2), kMarkColour);  // 7 sits at (1, 1)
  EXPECT_EQ(cellColour(canvas, 1, 1), kYellow);
  EXPECT_EQ(canvas.pixel(2 * kCell + 1, kCell + kCell / 2), kWhite);  // 8: not the last call

  MemoryCanvas hidden(kSide, kSide);
  paintBoard(hidden, numbered({7}), false, BoardMarks{false, 7});
  EXPECT_EQ(hidden.pixel(kCell + 1, kCell + kCell / 2), kFace);
  EXPECT_EQ(hidden.pixel(50, 0), kBlack);
}

TEST(GameBoardPainter, CalledNumbersYellowCompletedLinesRedThenTheGrid) {
  MemoryCanvas canvas(kSide, kSide);
  paintBoard(canvas, numbered({6, 7, 8, 9, 10, 13}), true);  // row 1 complete, 13 called
  std::vector<Rgb> colours(25, kWhite);
  for (int i = 5; i < 10; ++i) colours[i] = kRed;
  colours[12] = kYellow;
  expectGridOver(canvas, colours);

  // The plain cells first, then the completed line over them, white on red.
  const auto& texts = canvas.texts();
  ASSERT_EQ(texts.size(), 30u);
  EXPECT_EQ(texts[12].colour, kBlack);
  EXPECT_EQ(texts[12].text, "13");
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(texts[25 + i].text, std::to_string(6 + i));
    EXPECT_EQ(texts[25 + i].colour, kWhite);
    EXPECT_EQ(texts[25 + i].rect.left, i * kCell);
    EXPECT_EQ(texts[25 + i].rect.top, kCell);
  }
}

TEST(GameBoardPainter, HiddenBoardShowsOnlyItsCompletedLines) {
  MemoryCanvas empty(kSide, kSide);
  paintBoard(empty, Board(), false);
  expectGridOver(empty, std::vector<Rgb>(25, kFace));
  EXPECT_TRUE(empty.texts().empty());

  MemoryCanvas canvas(kSide, kSide);
  paintBoard(canvas, numbered({4, 9, 14, 19, 24, 1}), false);  // column 3 complete, 1 called
  std::vector<Rgb> colours(25, kFace);
  for (int row = 0; row < 5; ++row) colours[3 + 5 * row] = kRed;
  expectGridOver(canvas, colours);
  ASSERT_EQ(canvas.texts().size(), 5u);
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(canvas.texts()[row].text, std::to_string(4 + 5 * row));
    EXPECT_EQ(canvas.texts()[row].colour, kWhite);
  }
}

TEST(GameBoardPainter, CellOnTwoLinesLooksLikeOneOnASingleLine) {
  MemoryCanvas canvas(kSide, kSide);
  paintBoard(canvas, numbered({11, 12, 13, 14, 15, 3, 8, 18, 23}), false);  // row 2, column 2
  EXPECT_EQ(cellColour(canvas, 2, 2), kRed);
  EXPECT_EQ(cellColour(canvas, 0, 2), kRed);
  EXPECT_EQ(cellColour(canvas, 2, 0), kRed);
  ASSERT_EQ(canvas.texts().size(), 10u);
  EXPECT_EQ(canvas.texts()[2].text, "13");
  EXPECT_EQ(canvas.texts()[7].text, "13");
  EXPECT_EQ(canvas.texts()[7].colour, kWhite);
}

TEST(GameBoardPainter, CellUnderAPressOnA100PixelBoard) {
  auto click = [](int x, int y) { return boardCellAt(x, y, kSide, kSide); };
  EXPECT_EQ(click(0, 0), (CellPosition{0, 0}));
  EXPECT_EQ(click(19, 19), (CellPosition{0, 0}));
  EXPECT_EQ(click(20, 0), (CellPosition{1, 0}));
  EXPECT_EQ(click(0, 20), (CellPosition{0, 1}));
  EXPECT_EQ(click(45, 85), (CellPosition{2, 4}));
  EXPECT_EQ(click(99, 99), (CellPosition{4, 4}));
}

}  // namespace
}  // namespace pentaro
