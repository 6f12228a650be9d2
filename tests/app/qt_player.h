// One complete player's program with the Qt front end, as main() builds it: a QtUiThread, the main
// dialog, its QtWindow and a Program on a chosen port with its settings file in a chosen place.
// Several live in one test process, all on the main thread's event loop.
#ifndef PENTARO_TESTS_APP_QT_PLAYER_H_
#define PENTARO_TESTS_APP_QT_PLAYER_H_

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "app/program_procedure.h"
#include "app/qt_ui_thread.h"
#include "app/qt_window.h"
#include "shell/program.h"

class QAbstractButton;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QLabel;

namespace pentaro::testing {

class QtPlayer {
 public:
  QtPlayer(int port, const std::string& settingsPath, std::uint32_t seed);
  ~QtPlayer();

  QAbstractButton* button(int id) const;
  QLineEdit* edit(int id) const;
  QLabel* label(int id) const;
  QListWidget* participants() const;
  QPlainTextEdit* chatLog() const;
  BoardWidget* board(int id) const;

  QString status() const;
  std::vector<QString> participantLines() const;
  bool chatHas(const QString& line) const;
  std::string chatText() const;  // UTF-8, for failure messages
  // Clicks the cell of the own board at (column, row) with `button`, as a user does.
  void clickCell(int column, int row, Qt::MouseButton mouseButton = Qt::LeftButton);
  // Selects the participant line whose text starts with `name`; false when there is none.
  bool selectParticipant(const QString& name);

  MatchFields fields() { return program->client().fields(); }

  QtUiThread ui;
  std::unique_ptr<MainDialog> dialog;
  std::unique_ptr<QtWindow> window;
  std::unique_ptr<Program> program;
  std::unique_ptr<ProgramProcedure> procedure;
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_APP_QT_PLAYER_H_
