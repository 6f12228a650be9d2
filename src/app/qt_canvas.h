// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A Canvas over a QPainter that is already open on a board widget (or an image in tests). Draws
// with the painter's font, without antialiasing, and keeps the classic rules: rectangles leave out
// their right and bottom edges, lines their last point. Lives for one paint; UI thread only.
#ifndef PENTARO_APP_QT_CANVAS_H_
#define PENTARO_APP_QT_CANVAS_H_

#include <QColor>
#include <QPainter>
#include <QSize>

#include "ui/canvas.h"

namespace pentaro {

class QtCanvas : public Canvas {
 public:
  // `painter` must stay open while the canvas is used; `buttonFace` is the dialog's background.
  QtCanvas(QPainter& painter, QSize size, QColor buttonFace);

  int width() const override { return size_.width(); }
  int height() const override { return size_.height(); }
  Rgb buttonFace() const override;
  void fillRect(const Rect& rect, Rgb colour) override;
  void drawLine(int x1, int y1, int x2, int y2, Rgb colour) override;
  void drawCenteredText(const Rect& rect, std::string_view text, Rgb colour) override;

 private:
  QPainter& painter_;
  QSize size_;
  QColor buttonFace_;
};

}  // namespace pentaro

#endif  // PENTARO_APP_QT_CANVAS_H_
