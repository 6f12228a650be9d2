#include "app/board_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/dialog_procedure.h"
#include "app/qt_canvas.h"
#include "game/board_painter.h"
#include "ui/controls.h"

namespace pentaro {

BoardWidget::BoardWidget(int control, QWidget* parent) : QWidget(parent), control_(control) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool BoardWidget::takesClicks() const { return control_ == IDC_OWN_BOARD; }

void BoardWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter, size(), palette().color(QPalette::Button));
  if (procedure_ != nullptr) {
    procedure_->paint(control_, canvas);
  } else {
    canvas.fillRect(Rect{0, 0, width(), height()}, canvas.buttonFace());
    canvas.drawLine(0, 0, width(), 0, kBlack);
    canvas.drawLine(0, 0, 0, height(), kBlack);
  }
  // The board's closing grid lines fall just outside a side that is a multiple of five cells;
  // the frame's right and bottom edges close the grid instead of leaving it open.
  canvas.drawLine(width() - 1, 0, width() - 1, height(), kBlack);
  canvas.drawLine(0, height() - 1, width(), height() - 1, kBlack);
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (!takesClicks() ||
      (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton)) {
    event->ignore();
    return;
  }
  const QPoint at = event->position().toPoint();
  emit cellPressed(boardClickArgument(at.x(), at.y(), width(), height()));
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
