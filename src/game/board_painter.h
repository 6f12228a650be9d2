// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws one board onto a Canvas: the cells (or, for a hidden board, the button-face colour), then
// every completed line in red with white numbers, then the grid, then the marks of the match:
// a frame around the board whose side calls next and one around the last called cell (on a shown
// board only: a hidden board must not give away where a number lies). Stateless; UI thread.
#ifndef PENTARO_GAME_BOARD_PAINTER_H_
#define PENTARO_GAME_BOARD_PAINTER_H_

#include "game/board.h"
#include "ui/canvas.h"

namespace pentaro {

// The frames' colour: blue stands apart from the yellow and red of called cells.
inline constexpr Rgb kMarkColour{0, 0, 255};
inline constexpr int kTurnFrameWidth = 3;
inline constexpr int kLastCallFrameWidth = 2;

struct BoardMarks {
  bool toMove = false;  // this board's side calls next
  int lastCall = 0;     // the number called last; 0 for none
};

void paintBoard(Canvas& canvas, const Board& board, bool showNumbers, BoardMarks marks = {});

// One cell: white for an uncalled number or an empty cell, yellow for a called number, red with a
// white number for a called number on a completed line (`highlighted`).
void drawCell(Canvas& canvas, int value, int column, int row, int cellWidth, int cellHeight,
              bool highlighted);

struct CellPosition {
  int column = 0;
  int row = 0;
  bool operator==(const CellPosition&) const = default;
};

// The cell under a press at pixel (x, y) of a board `width` x `height` pixels large; a press
// beyond the last cell gives a position off the board, which a click ignores.
CellPosition boardCellAt(int x, int y, int width, int height);

}  // namespace pentaro

#endif  // PENTARO_GAME_BOARD_PAINTER_H_
