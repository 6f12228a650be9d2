// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/program_icon.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <algorithm>

namespace pentaro {
namespace {

constexpr int kCells = 5;
constexpr int kDesignSize = 32;  // the size at which one design unit is one pixel
// Below this a cell is too small to carry the stroke of a number.
constexpr int kSmallestMarkedCell = 5;
// The number's stroke is three fifths of a cell high.
constexpr int kMarkHeightFifths = 3;

enum class Cell { kBlank, kCalled, kLine };

// Row by row: the completed diagonal and the numbers called so far.
constexpr Cell kPattern[kCells][kCells] = {
    {Cell::kLine, Cell::kCalled, Cell::kBlank, Cell::kCalled, Cell::kBlank},
    {Cell::kBlank, Cell::kLine, Cell::kBlank, Cell::kBlank, Cell::kCalled},
    {Cell::kCalled, Cell::kBlank, Cell::kLine, Cell::kBlank, Cell::kBlank},
    {Cell::kBlank, Cell::kCalled, Cell::kCalled, Cell::kLine, Cell::kBlank},
    {Cell::kBlank, Cell::kBlank, Cell::kBlank, Cell::kCalled, Cell::kLine},
};

const QColor kGridColour(0, 0, 0);
const QColor kShadowColour(0x80, 0x80, 0x80);

QColor fillOf(Cell cell) {
  switch (cell) {
    case Cell::kLine:
      return QColor(255, 0, 0);
    case Cell::kCalled:
      return QColor(255, 255, 0);
    case Cell::kBlank:
      break;
  }
  return QColor(255, 255, 255);
}

// The stroke stands out: white on the red line, black elsewhere.
QColor markOf(Cell cell) { return cell == Cell::kLine ? QColor(255, 255, 255) : kGridColour; }

}  // namespace

QImage paintProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);

  // Lines (and the shadow) are one design unit, rounded to whole pixels; cells take what is left.
  const int line = std::max(1, (size + kDesignSize / 2) / kDesignSize);
  int shadow = line;
  int cell = (size - shadow - (kCells + 1) * line) / kCells;
  if (cell < 2) {  // the smallest sizes give up the shadow to keep the cells apart
    shadow = 0;
    cell = (size - (kCells + 1) * line) / kCells;
  }
  const int board = kCells * cell + (kCells + 1) * line;
  const int origin = (size - board - shadow) / 2;  // centred when the cells do not divide evenly

  QPainter painter(&image);
  if (shadow > 0) {
    painter.fillRect(origin + board, origin + shadow, shadow, board, kShadowColour);
    painter.fillRect(origin + shadow, origin + board, board, shadow, kShadowColour);
  }
  painter.fillRect(origin, origin, board, board, kGridColour);

  const bool marked = cell >= kSmallestMarkedCell;
  const int markHeight = (cell * kMarkHeightFifths + kCells / 2) / kCells;
  for (int row = 0; row < kCells; ++row) {
    for (int column = 0; column < kCells; ++column) {
      const Cell kind = kPattern[row][column];
      const QRect inner(origin + line + column * (cell + line), origin + line + row * (cell + line),
                        cell, cell);
      painter.fillRect(inner, fillOf(kind));
      if (marked) {
        painter.fillRect(inner.x() + (cell - line) / 2, inner.y() + (cell - markHeight) / 2, line,
                         markHeight, markOf(kind));
      }
    }
  }
  return image;
}

QIcon programIcon() {
  QIcon icon;
  for (const int size : kProgramIconSizes)
    icon.addPixmap(QPixmap::fromImage(paintProgramIcon(size)));
  return icon;
}

}  // namespace pentaro
