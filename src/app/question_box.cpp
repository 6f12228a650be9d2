// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/question_box.h"

#include <QAbstractButton>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <cstdlib>

namespace pentaro {

QuestionBox::QuestionBox(const QString& caption, const QString& question, QWidget* parent)
    : QMessageBox(QMessageBox::Question, caption, question, QMessageBox::Yes | QMessageBox::No,
                  parent) {
  delay_.setSingleShot(true);
  delay_.setInterval(kInputDelay);
  connect(&delay_, &QTimer::timeout, this, [this] { setAnswerable(true); });
}

void QuestionBox::showEvent(QShowEvent* event) {
  for (QAbstractButton* button : buttons()) button->installEventFilter(this);
  setAnswerable(false);
  QMessageBox::showEvent(event);  // sizes the box and centres it over its parent
  moveAwayFromPointer();
  delay_.start();
}

void QuestionBox::setAnswerable(bool answerable) {
  answerable_ = answerable;
  // A disabled button takes neither clicks nor its shortcut, Enter or Escape; and it looks so.
  for (QAbstractButton* button : buttons()) button->setEnabled(answerable);
  if (answerable && defaultButton() != nullptr) defaultButton()->setFocus();
}

void QuestionBox::keyPressEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) {
    event->accept();
    return;
  }
  QMessageBox::keyPressEvent(event);
}

bool QuestionBox::eventFilter(QObject* watched, QEvent* event) {
  // A focused button would take Enter or Space from a key held down since before the question.
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
    return true;
  }
  return QMessageBox::eventFilter(watched, event);
}

void QuestionBox::moveAwayFromPointer() {
  QRect buttonArea;
  for (const QAbstractButton* button : buttons()) {
    buttonArea |= QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
  }
  buttonArea.adjust(-kPointerMargin, -kPointerMargin, kPointerMargin, kPointerMargin);
  const QPoint pointer = QCursor::pos();
  if (!buttonArea.contains(pointer)) return;

  // Up so that the buttons end above the pointer, or down so that they begin below it; the
  // shorter way that keeps the box on the screen.
  const int up = pointer.y() - buttonArea.bottom() - 1;
  const int down = pointer.y() - buttonArea.top() + 1;
  const int shorter = std::abs(up) <= down ? up : down;
  const int longer = shorter == up ? down : up;
  const QScreen* screen = QGuiApplication::screenAt(pointer);
  if (screen == nullptr) screen = this->screen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
  const bool fits = area.isNull() || area.contains(frameGeometry().translated(0, shorter));
  move(pos() + QPoint(0, fits ? shorter : longer));
}

}  // namespace pentaro
