// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Shared pieces of the Qt front end's tests: a DialogProcedure that records what reaches it, a
// fixture with a main dialog, its QtWindow and its QtView, an automatic answerer for question
// boxes, and a complete player built as main() builds it. The QApplication comes from the test
// program's main(); everything here runs on its (the UI) thread.
#ifndef PENTARO_TESTS_APP_APP_TEST_SUPPORT_H_
#define PENTARO_TESTS_APP_APP_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/board_widget.h"
#include "app/controls.h"
#include "app/dialog_procedure.h"
#include "app/main_dialog.h"
#include "app/program_procedure.h"
#include "app/qt_ui_thread.h"
#include "app/qt_view.h"
#include "app/qt_window.h"
#include "game/board.h"
#include "game/board_painter.h"
#include "shell/program.h"
#include "support/test_player.h"  // sjis(), freePort()

namespace pentaro::testing {

class RecordingProcedure : public DialogProcedure {
 public:
  using Cell = std::pair<int, int>;  // column, row

  void command(int id) override;
  void clickOwnCell(int column, int row) override { cells.emplace_back(column, row); }
  // Paints `own` with `ownMarks`, and `opponent` with its numbers only when `showOpponent`.
  void paint(BoardSide side, Canvas& canvas) override;
  void shutDown() override { ++shutDowns; }
  bool matchRunning() const override { return playing; }
  bool lobbyMatchesRunning() const override { return lobbyPlaying; }

  std::vector<int> commands;  // control identifiers, in click order
  std::vector<Cell> cells;    // own cells clicked, in order
  std::vector<BoardSide> painted;
  int shutDowns = 0;
  Board own, opponent;
  BoardMarks ownMarks;
  bool showOpponent = false;
  bool playing = false;
  bool lobbyPlaying = false;
  std::function<void(int id)> onCommand;
};

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() : window(dialog), view(dialog, window) { dialog.setProcedure(&procedure); }
  template <typename T = QWidget>
  T* control(int id) {
    return qobject_cast<T*>(dialog.control(id));
  }
  void showActive();

  RecordingProcedure procedure;
  MainDialog dialog;
  QtWindow window;
  QtView view;
};

// The widget as it looks after painting.
QImage grabImage(QWidget& widget);

// Answers every question box that opens while it lives, and remembers what was asked; a message
// box with one button (yesLabel) is acknowledged. `whileOpen` runs just before each answer.
class QuestionAnswerer {
 public:
  explicit QuestionAnswerer(bool yes);
  struct Question {
    QString caption, text, yesLabel, noLabel;
    QMessageBox::Icon icon;
    bool yesIsDefault, modal;
    QWidget* parent;
  };
  std::vector<Question> asked;
  std::function<void()> whileOpen;

 private:
  bool yes_;
  QTimer timer_;
};

// One complete player: a QtUiThread, the shown dialog with its window and view, and a Program on
// `port` and `settingsPath` behind a ProgramProcedure.
class QtPlayer {
 public:
  QtPlayer(int port, const std::string& settingsPath, std::uint32_t seed);
  ~QtPlayer();

  template <typename T = QWidget>
  T* control(int id) const {
    return qobject_cast<T*>(dialog->control(id));
  }
  QString text(int id) const;                 // of an edit, a label or a button
  void setText(int id, const QString& text);  // of an edit
  bool enabled(int id) const { return window->isEnabled(id); }
  bool pressed(int id) const { return window->isPressed(id); }
  void click(int id);  // a button, with the mouse
  std::vector<QString> participantLines() const;
  bool chatHas(const QString& line) const;
  std::string chatText() const;  // UTF-8, for failure messages
  // Presses and releases `button` over the own board's cell (column, row).
  void clickCell(int column, int row, Qt::MouseButton button);
  // Clicks the participant line that starts with `name`; false when it is not selected then.
  bool selectParticipant(const QString& name);
  const GameBoards& boards() { return program->boards(); }
  MatchFields fields() { return program->client().fields(); }

  QtUiThread ui;
  std::unique_ptr<MainDialog> dialog;
  std::unique_ptr<QtWindow> window;
  std::unique_ptr<QtView> view;
  std::unique_ptr<Program> program;
  std::unique_ptr<ProgramProcedure> procedure;
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_APP_APP_TEST_SUPPORT_H_
