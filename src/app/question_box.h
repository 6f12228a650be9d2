// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The modal yes/no question box. It cannot be answered by a press that began before it was seen:
// its buttons take input only kInputDelay after it shows, and a held key's repeats never answer
// it; and it opens with no button under the mouse pointer. Owned by whoever runs it (on the
// stack, around exec()); UI thread only.
#ifndef PENTARO_APP_QUESTION_BOX_H_
#define PENTARO_APP_QUESTION_BOX_H_

#include <QMessageBox>
#include <QTimer>
#include <chrono>

namespace pentaro {

class QuestionBox : public QMessageBox {
  Q_OBJECT

 public:
  // Long enough for a click or key press meant for the window below to land harmlessly.
  static constexpr std::chrono::milliseconds kInputDelay{500};
  // Pixels kept free between the pointer and the nearest button when the box opens.
  static constexpr int kPointerMargin = 8;

  // Buttons Yes and No, parented to (and, unless the pointer is in the way, centred over) `parent`.
  QuestionBox(const QString& caption, const QString& question, QWidget* parent);

  // True once the buttons take input.
  bool answerable() const { return answerable_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void setAnswerable(bool answerable);
  void moveAwayFromPointer();

  QTimer delay_;
  bool answerable_ = false;
};

}  // namespace pentaro

#endif  // PENTARO_APP_QUESTION_BOX_H_
