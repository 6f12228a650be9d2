// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_test_support.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "game/board_painter.h"

namespace pentaro::testing {

void RecordingProcedure::command(int id) {
  commands.push_back(id);
  if (onCommand) onCommand(id);
}

void RecordingProcedure::paint(BoardSide side, Canvas& canvas) {
  painted.push_back(side);
  const bool isOwn = side == BoardSide::kOwn;
  paintBoard(canvas, isOwn ? own : opponent, isOwn || showOpponent,
             isOwn ? ownMarks : BoardMarks{});
}

void DialogTest::showActive() {
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

QImage grabImage(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QuestionAnswerer::QuestionAnswerer(bool yes) : yes_(yes) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (box == nullptr || !box->isVisible()) continue;
      QAbstractButton* yesButton = box->button(QMessageBox::Yes);
      QAbstractButton* noButton = box->button(QMessageBox::No);
      if (yesButton == nullptr && noButton == nullptr && box->buttons().size() == 1) {
        yesButton = box->buttons().front();  // a message: acknowledged
      } else if (yesButton == nullptr || noButton == nullptr) {
        continue;
      }
      // Buttons take input a moment after the box shows.
      if (!yesButton->isEnabled()) continue;
      asked.push_back(Question{box->windowTitle(), box->text(), yesButton->text(),
                               noButton != nullptr ? noButton->text() : QString(), box->icon(),
                               box->defaultButton() == yesButton, box->isModal(),
                               box->parentWidget()});
      if (whileOpen) whileOpen();
      (yes_ || noButton == nullptr ? yesButton : noButton)->click();
    }
  });
  timer_.start(5);
}

QtPlayer::QtPlayer(int port, const std::string& settingsPath, std::uint32_t seed)
    : dialog(std::make_unique<MainDialog>()),
      window(std::make_unique<QtWindow>(*dialog)),
      view(std::make_unique<QtView>(*dialog, *window)) {
  program = std::make_unique<Program>(*view, ui, Program::Options{port, settingsPath});
  procedure = std::make_unique<ProgramProcedure>(*program, *window, *view);
  program->random().setState(seed);
  dialog->setProcedure(procedure.get());
  program->start();
  dialog->show();
}

QtPlayer::~QtPlayer() {
  // The order of main(): detach, release waiting workers, stop them with the Program, then the
  // dialog.
  dialog->setProcedure(nullptr);
  ui.shutDown();
  procedure.reset();
  program.reset();
  view.reset();
  window.reset();
  dialog.reset();
}

QString QtPlayer::text(int id) const {
  if (auto* edit = control<QLineEdit>(id)) return edit->text();
  if (auto* label = control<QLabel>(id)) return label->text();
  if (auto* button = control<QAbstractButton>(id)) return button->text();
  return {};
}

void QtPlayer::setText(int id, const QString& text) { control<QLineEdit>(id)->setText(text); }

void QtPlayer::click(int id) { QTest::mouseClick(control(id), Qt::LeftButton); }

std::vector<QString> QtPlayer::participantLines() const {
  auto* list = control<QListWidget>(IDC_PARTICIPANTS);
  std::vector<QString> lines;
  for (int i = 0; i < list->count(); ++i) lines.push_back(list->item(i)->text());
  return lines;
}

bool QtPlayer::chatHas(const QString& line) const {
  return QString::fromStdString(chatText()).split(QLatin1Char('\n')).contains(line);
}

std::string QtPlayer::chatText() const {
  return control<QPlainTextEdit>(IDC_CHAT_LOG)->toPlainText().toStdString();
}

void QtPlayer::clickCell(int column, int row, Qt::MouseButton button) {
  auto* own = control<BoardWidget>(IDC_OWN_BOARD);
  const int w = own->width() / 5, h = own->height() / 5;
  QTest::mouseClick(own, button, {}, QPoint(column * w + w / 2, row * h + h / 2));
}

bool QtPlayer::selectParticipant(const QString& name) {
  auto* list = control<QListWidget>(IDC_PARTICIPANTS);
  for (int i = 0; i < list->count(); ++i) {
    if (!list->item(i)->text().startsWith(name)) continue;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(i)).center());
    return list->item(i)->isSelected();
  }
  return false;
}

}  // namespace pentaro::testing
