#include "game/board_painter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/memory_canvas.h"

namespace pentaro {
namespace {

constexpr int kSide = 100, kCell = 20;

Board numbered(const std::vector<int>& called = {}) {
  Board board;
  for (int i = 0; i < Board::kCells; ++i) board.setCell(i + 1, i % 5, i / 5);
  for (int n : called) board.mark(n);
  return board;
}

// The colour inside a cell, away from the grid lines.
Rgb cellColour(const MemoryCanvas& canvas, int column, int row) {
  return canvas.pixel(column * kCell + kCell / 2, row * kCell + kCell / 2);
}

void expectGrid(const MemoryCanvas& canvas) {
  for (int k = 0; k < 5; ++k) {
    for (int i = 0; i < kSide; ++i) {
      ASSERT_EQ(canvas.pixel(k * kCell, i), kBlack) << "vertical line " << k << " at y " << i;
      ASSERT_EQ(canvas.pixel(i, k * kCell), kBlack) << "horizontal line " << k << " at x " << i;
    }
  }
}

TEST(GameBoardPainter, ShownBoardIsWhiteCellsWithBlackNumbersAndAGrid) {
  MemoryCanvas canvas(kSide, kSide);
  Board board = numbered();
  board.setCell(0, 3, 1);  // an empty cell
  paintBoard(canvas, board, true);

  expectGrid(canvas);
  // Everything off the grid is white, right and bottom edges included: the sixth lines lie
  // outside the canvas.
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      if (x % kCell == 0 || y % kCell == 0) continue;
      ASSERT_EQ(canvas.pixel(x, y), kWhite) << x << "," << y;
    }
  }
  // One text per cell, column by column, each centred in its cell.
  const auto& texts = canvas.texts();
  ASSERT_EQ(texts.size(), 25u);
  int t = 0;
  for (int column = 0; column < 5; ++column) {
    for (int row = 0; row < 5; ++row, ++t) {
      const int value = board.cell(column, row);
      EXPECT_EQ(texts[t].text, value == 0 ? " " : std::to_string(value));
      EXPECT_EQ(texts[t].colour, kBlack);
      EXPECT_EQ(texts[t].rect.left, column * kCell);
      EXPECT_EQ(texts[t].rect.top, row * kCell);
      EXPECT_EQ(texts[t].rect.right, (column + 1) * kCell);
      EXPECT_EQ(texts[t].rect.bottom, (row + 1) * kCell);
    }
  }
  EXPECT_EQ(texts[1].text, "6");
  EXPECT_EQ(texts[16].text, " ");
}

TEST(GameBoardPainter, CalledNumbersAreYellowAndCompletedLinesRed) {
  MemoryCanvas canvas(kSide, kSide);
  // Row 1 complete, 13 called on no complete line.
  const Board board = numbered({6, 7, 8, 9, 10, 13});
  paintBoard(canvas, board, true);

  expectGrid(canvas);
  EXPECT_EQ(cellColour(canvas, 2, 2), kYellow);
  EXPECT_EQ(cellColour(canvas, 0, 0), kWhite);
  for (int column = 0; column < 5; ++column) EXPECT_EQ(cellColour(canvas, column, 1), kRed);
  EXPECT_EQ(canvas.pixel(99, 39), kRed);  // the last column has no line on its right

  // The plain cells first, then the completed line over them in white.
  const auto& texts = canvas.texts();
  ASSERT_EQ(texts.size(), 30u);
  EXPECT_EQ(texts[5 * 2 + 2].text, "13");
  EXPECT_EQ(texts[5 * 2 + 2].colour, kBlack);
  EXPECT_EQ(texts[1].text, "6");
  EXPECT_EQ(texts[1].colour, kBlack);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(texts[25 + i].text, std::to_string(6 + i));
    EXPECT_EQ(texts[25 + i].colour, kWhite);
    EXPECT_EQ(texts[25 + i].rect.top, kCell);
    EXPECT_EQ(texts[25 + i].rect.left, i * kCell);
  }
}

TEST(GameBoardPainter, HiddenBoardShowsOnlyItsCompletedLines) {
  MemoryCanvas empty(kSide, kSide);
  paintBoard(empty, Board(), false);
  expectGrid(empty);
  EXPECT_EQ(cellColour(empty, 2, 2), MemoryCanvas::kButtonFace);
  EXPECT_EQ(empty.pixel(99, 99), MemoryCanvas::kButtonFace);
  EXPECT_TRUE(empty.texts().empty());

  // Column 3 complete, 1 called elsewhere: only the line shows.
  MemoryCanvas canvas(kSide, kSide);
  paintBoard(canvas, numbered({4, 9, 14, 19, 24, 1}), false);
  expectGrid(canvas);
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(cellColour(canvas, 3, row), kRed);
    EXPECT_EQ(cellColour(canvas, 2, row), MemoryCanvas::kButtonFace);
    EXPECT_EQ(cellColour(canvas, 4, row), MemoryCanvas::kButtonFace);
  }
  EXPECT_EQ(cellColour(canvas, 0, 0), MemoryCanvas::kButtonFace);
  ASSERT_EQ(canvas.texts().size(), 5u);
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(canvas.texts()[row].text, std::to_string(4 + 5 * row));
    EXPECT_EQ(canvas.texts()[row].colour, kWhite);
  }
}

TEST(GameBoardPainter, CellOnTwoLinesLooksLikeOneOnASingleLine) {
  MemoryCanvas canvas(kSide, kSide);
  paintBoard(canvas, numbered({11, 12, 13, 14, 15, 3, 8, 18, 23}), true);  // row 2, column 2
  EXPECT_EQ(cellColour(canvas, 2, 2), kRed);
  EXPECT_EQ(cellColour(canvas, 0, 2), kRed);
  EXPECT_EQ(cellColour(canvas, 2, 0), kRed);
  EXPECT_EQ(canvas.pixel(40, 50), kBlack);  // the grid is drawn over the red cells
  EXPECT_EQ(canvas.pixel(50, 40), kBlack);
  int centre = 0;
  for (const auto& text : canvas.texts()) {
    if (text.rect.left == 2 * kCell && text.rect.top == 2 * kCell) {
      ++centre;
      EXPECT_EQ(text.colour, centre == 1 ? kBlack : kWhite);
      EXPECT_EQ(text.text, "13");
    }
  }
  EXPECT_EQ(centre, 3);  // plain, then once for each line
}

TEST(GameBoardPainter, DrawCellStyles) {
  MemoryCanvas canvas(kSide, kSide);
  drawCell(canvas, -7, 1, 2, kCell, kCell, false);
  drawCell(canvas, -8, 2, 2, kCell, kCell, true);
  drawCell(canvas, 0, 3, 2, kCell, kCell, false);
  EXPECT_EQ(canvas.pixel(20, 40), kYellow);  // left and top edges belong to the cell
  EXPECT_EQ(canvas.pixel(39, 59), kYellow);
  EXPECT_EQ(canvas.pixel(40, 40), kRed);
  EXPECT_EQ(canvas.pixel(60, 40), kWhite);
  EXPECT_EQ(canvas.pixel(80, 40), kBlack);  // untouched
  ASSERT_EQ(canvas.texts().size(), 3u);
  EXPECT_EQ(canvas.texts()[0].text, "7");
  EXPECT_EQ(canvas.texts()[0].colour, kBlack);
  EXPECT_EQ(canvas.texts()[1].text, "8");
  EXPECT_EQ(canvas.texts()[1].colour, kWhite);
  EXPECT_EQ(canvas.texts()[2].text, " ");
}

TEST(GameBoardPainter, ClickArgumentForA100PixelBoard) {
  auto click = [](int x, int y) { return boardClickArgument(x, y, kSide, kSide); };
  EXPECT_EQ(click(0, 0), 0u);
  EXPECT_EQ(click(19, 19), 0u);
  EXPECT_EQ(click(20, 0), 1u);
  EXPECT_EQ(click(0, 20), 1u << 16);
  EXPECT_EQ(click(45, 85), 2u | 4u << 16);
  EXPECT_EQ(click(99, 99), 4u | 4u << 16);
  EXPECT_EQ(click(59, 60), 2u | 3u << 16);
}

}  // namespace
}  // namespace pentaro
