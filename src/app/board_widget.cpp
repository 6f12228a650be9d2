// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/board_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "app/controls.h"
#include "app/dialog_procedure.h"
#include "app/qt_canvas.h"
#include "game/board_painter.h"

namespace pentaro {

namespace {

// The cursor cell's frame: a dashed black line, as keyboard focus is drawn, stands out on white,
// yellow and red cells and looks nothing like the match's solid blue frames. It lies further in
// than the last call's frame, so that both show on one cell.
constexpr QColor kCursorColour(0, 0, 0);
constexpr int kCursorInset = 4;  // pixels inside the cell's grid line

bool fromKeyboard(Qt::FocusReason reason) {
  return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
}

// The window losing or regaining the activation, or a menu opening, leaves the focus where it was.
bool keepsFocusKind(Qt::FocusReason reason) {
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

BoardWidget::BoardWidget(int control, QWidget* parent) : QWidget(parent), control_(control) {
  // Tab reaches the own board; a click leaves the focus where it was (in the chat input, say).
  setFocusPolicy(takesClicks() ? Qt::TabFocus : Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool BoardWidget::takesClicks() const { return control_ == IDC_OWN_BOARD; }

void BoardWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter, size(), palette().color(QPalette::Button));
  if (procedure_ != nullptr) {
    procedure_->paint(takesClicks() ? BoardSide::kOwn : BoardSide::kOpponent, canvas);
  } else {
    canvas.fillRect(Rect{0, 0, width(), height()}, canvas.buttonFace());
    canvas.drawLine(0, 0, width(), 0, kBlack);
    canvas.drawLine(0, 0, 0, height(), kBlack);
  }
  // The board's closing grid lines fall just outside a side that is a multiple of five cells;
  // the frame's right and bottom edges close the grid instead of leaving it open.
  canvas.drawLine(width() - 1, 0, width() - 1, height(), kBlack);
  canvas.drawLine(0, height() - 1, width(), height() - 1, kBlack);
  if (hasFocus() && keyboardFocus_) paintCursor(painter);
}

void BoardWidget::paintCursor(QPainter& painter) const {
  const int cellWidth = width() / kSide, cellHeight = height() / kSide;
  const QRect cell(cursorColumn_ * cellWidth, cursorRow_ * cellHeight, cellWidth, cellHeight);
  QPen pen(kCursorColour, 1, Qt::DashLine);
  pen.setCosmetic(true);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.setRenderHint(QPainter::Antialiasing, false);
  // The cell's grid lines lie on its top and left edge; the right and bottom ones belong to the
  // next cells. A 1-pixel rectangle covers its right and bottom edge too.
  painter.drawRect(cell.adjusted(kCursorInset, kCursorInset, -kCursorInset, -kCursorInset));
}

void BoardWidget::moveCursor(int columns, int rows) {
  cursorColumn_ = std::clamp(cursorColumn_ + columns, 0, kSide - 1);
  cursorRow_ = std::clamp(cursorRow_ + rows, 0, kSide - 1);
  update();
}

void BoardWidget::keyPressEvent(QKeyEvent* event) {
  if (!takesClicks()) {
    QWidget::keyPressEvent(event);
    return;
  }
  switch (event->key()) {
    case Qt::Key_Left:
      moveCursor(-1, 0);
      break;
    case Qt::Key_Right:
      moveCursor(1, 0);
      break;
    case Qt::Key_Up:
      moveCursor(0, -1);
      break;
    case Qt::Key_Down:
      moveCursor(0, 1);
      break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // The same click as a press of the mouse on the cursor cell; Enter stays with the board.
      emit cellPressed(cursorColumn_, cursorRow_);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
  if (!keyboardFocus_) {
    keyboardFocus_ = true;  // played with the keys: the player needs to see the cursor
    update();
  }
}

void BoardWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (!keepsFocusKind(event->reason())) keyboardFocus_ = fromKeyboard(event->reason());
  update();
}

void BoardWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (!keepsFocusKind(event->reason())) keyboardFocus_ = false;
  update();
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (!takesClicks() ||
      (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton)) {
    event->ignore();
    return;
  }
  const QPoint at = event->position().toPoint();
  const CellPosition cell = boardCellAt(at.x(), at.y(), width(), height());
  emit cellPressed(cell.column, cell.row);
  event->accept();
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (takesClicks()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void BoardWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // The first press of a double click has made its click already; the second one is not a click.
  if (takesClicks()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace pentaro
