// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One of the two board frames of the main dialog. Painting is left to the dialog procedure; the
// own board turns a press of the left, right or middle button into a cell click, which it signals
// for the dialog to hand on. Reached with Tab, the own board also shows a cursor cell (a dashed
// focus frame, unlike the blue marks of the match) that the arrow keys move and Space or Enter
// clicks. Owned by the dialog through its Qt parent; UI thread only.
#ifndef PENTARO_APP_BOARD_WIDGET_H_
#define PENTARO_APP_BOARD_WIDGET_H_

#include <QWidget>

namespace pentaro {

class DialogProcedure;

class BoardWidget : public QWidget {
  Q_OBJECT

 public:
  // `control` is IDC_OWN_BOARD or IDC_OPPONENT_BOARD; only the own board takes clicks.
  BoardWidget(int control, QWidget* parent);

  int control() const { return control_; }
  void setProcedure(DialogProcedure* procedure) { procedure_ = procedure; }

 signals:
  // The cell of a press, or the cursor cell's on Space or Enter.
  void cellPressed(int column, int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  static constexpr int kSide = 5;  // cells per row and per column

  bool takesClicks() const;
  void moveCursor(int columns, int rows);
  void paintCursor(QPainter& painter) const;

  const int control_;
  DialogProcedure* procedure_ = nullptr;
  int cursorColumn_ = 0;
  int cursorRow_ = 0;
  // The focus came from the keyboard (Tab, Backtab) or the keys have been used on the board: only
  // then is the cursor shown.
  bool keyboardFocus_ = false;
};

}  // namespace pentaro

#endif  // PENTARO_APP_BOARD_WIDGET_H_
