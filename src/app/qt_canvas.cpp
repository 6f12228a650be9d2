// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/qt_canvas.h"

#include <QPen>
#include <algorithm>
#include <cstdlib>

#include "app/qt_text.h"

namespace pentaro {
namespace {

QColor toQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, QSize size, QColor buttonFace)
    : painter_(painter), size_(size), buttonFace_(buttonFace) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBackgroundMode(Qt::TransparentMode);
}

Rgb QtCanvas::buttonFace() const {
  return Rgb{static_cast<std::uint8_t>(buttonFace_.red()),
             static_cast<std::uint8_t>(buttonFace_.green()),
             static_cast<std::uint8_t>(buttonFace_.blue())};
}

void QtCanvas::fillRect(const Rect& rect, Rgb colour) {
  if (rect.width() <= 0 || rect.height() <= 0) return;
  painter_.fillRect(QRect(rect.left, rect.top, rect.width(), rect.height()), toQColor(colour));
}

void QtCanvas::drawLine(int x1, int y1, int x2, int y2, Rgb colour) {
  // QPainter draws both end points; ending one step short along the longer axis leaves the last
  // one out (exactly so for the horizontal and vertical lines of the grid).
  const int dx = x2 - x1, dy = y2 - y1;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 0) return;
  const int endX = x1 + dx * (steps - 1) / steps;
  const int endY = y1 + dy * (steps - 1) / steps;

  QPen pen(toQColor(colour));
  pen.setWidth(1);
  pen.setStyle(Qt::SolidLine);
  pen.setCapStyle(Qt::SquareCap);
  painter_.setPen(pen);
  if (endX == x1 && endY == y1) {
    painter_.drawPoint(x1, y1);
  } else {
    painter_.drawLine(x1, y1, endX, endY);
  }
}

void QtCanvas::drawCenteredText(const Rect& rect, std::string_view text, Rgb colour) {
  painter_.setPen(toQColor(colour));
  painter_.drawText(QRect(rect.left, rect.top, rect.width(), rect.height()),
                    Qt::AlignCenter | Qt::TextSingleLine, toQString(text));
}

}  // namespace pentaro
