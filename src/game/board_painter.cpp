// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/board_painter.h"

#include <cstdlib>
#include <string>

namespace pentaro {

void drawCell(Canvas& canvas, int value, int column, int row, int cellWidth, int cellHeight,
              bool highlighted) {
  const Rect rect{column * cellWidth, row * cellHeight, (column + 1) * cellWidth,
                  (row + 1) * cellHeight};
  Rgb fill = kWhite;
  if (value < 0) {
    fill = highlighted ? kRed : kYellow;
    value = -value;
  }
  canvas.fillRect(rect, fill);
  const std::string text = value == 0 ? std::string(" ") : std::to_string(value);
  canvas.drawCenteredText(rect, text, highlighted ? kWhite : kBlack);
}

namespace {

// A frame `width` pixels wide just inside `rect` (right and bottom excluded).
void drawFrame(Canvas& canvas, const Rect& rect, int width) {
  for (int k = 0; k < width; ++k) {
    const int left = rect.left + k, top = rect.top + k;
    const int right = rect.right - 1 - k, bottom = rect.bottom - 1 - k;
    canvas.drawLine(left, top, right, top, kMarkColour);
    canvas.drawLine(left, bottom, right, bottom, kMarkColour);
    canvas.drawLine(left, top, left, bottom, kMarkColour);
    canvas.drawLine(right, top, right, bottom + 1, kMarkColour);
  }
}

}  // namespace

void paintBoard(Canvas& canvas, const Board& board, bool showNumbers, BoardMarks marks) {
  // The client rectangle runs from (0, 0) to (width, height), right and bottom excluded; the
  // "+ 1" keeps the classic cell-size formula, which gives width / 5 for sides that are multiples
  // of five.
  const int right = canvas.width(), bottom = canvas.height();
  const int cellWidth = (right + 1) / Board::kSide;
  const int cellHeight = (bottom + 1) / Board::kSide;

  if (showNumbers) {
    for (int column = 0; column < Board::kSide; ++column) {
      for (int row = 0; row < Board::kSide; ++row) {
        drawCell(canvas, board.cell(column, row), column, row, cellWidth, cellHeight, false);
      }
    }
  } else {
    canvas.fillRect(Rect{0, 0, right, bottom}, canvas.buttonFace());
  }
  board.countCompletedLines([&](int value, int column, int row) {
    drawCell(canvas, value, column, row, cellWidth, cellHeight, true);
  });
  for (int k = 0; k <= Board::kSide; ++k) {
    canvas.drawLine(k * cellWidth, 0, k * cellWidth, bottom, kBlack);
    canvas.drawLine(0, k * cellHeight, right, k * cellHeight, kBlack);
  }
  if (showNumbers && marks.lastCall > 0) {
    for (int i = 0; i < Board::kCells; ++i) {
      if (board.cellAt(i) != -marks.lastCall) continue;
      const int column = i % Board::kSide, row = i / Board::kSide;
      drawFrame(canvas,
                Rect{column * cellWidth + 1, row * cellHeight + 1, (column + 1) * cellWidth,
                     (row + 1) * cellHeight},
                kLastCallFrameWidth);
    }
  }
  if (marks.toMove) drawFrame(canvas, Rect{0, 0, right, bottom}, kTurnFrameWidth);
}

CellPosition boardCellAt(int x, int y, int width, int height) {
  // The press position is read as unsigned 16-bit numbers, as a mouse message carries it.
  const int cellWidth = (width + 1) / Board::kSide;
  const int cellHeight = (height + 1) / Board::kSide;
  if (cellWidth <= 0 || cellHeight <= 0) return {};
  return CellPosition{(x & 0xFFFF) / cellWidth, (y & 0xFFFF) / cellHeight};
}

}  // namespace pentaro
