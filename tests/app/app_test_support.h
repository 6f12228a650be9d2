// Shared pieces of the Qt front end's tests: the test process's QApplication, a DialogProcedure
// that records what reaches it, an automatic answerer for question boxes, and pixel reading. UI
// (main) thread only.
#ifndef PENTARO_TESTS_APP_APP_TEST_SUPPORT_H_
#define PENTARO_TESTS_APP_APP_TEST_SUPPORT_H_

#include <QColor>
#include <QImage>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/dialog_procedure.h"
#include "game/board.h"
#include "support/test_player.h"  // sjis(), freePort()

class QApplication;
class QWidget;

namespace pentaro::testing {

// The test program's one application.
QApplication& application();

// Runs the event loop until `condition` holds or `timeoutMs` passes; true when it held.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000);

// The widget as it looks after painting.
QImage grabImage(QWidget& widget);
QColor pixel(const QImage& image, int x, int y);

class RecordingProcedure : public DialogProcedure {
 public:
  struct Command {
    int id;
    std::uint32_t argument;
    friend bool operator==(const Command&, const Command&) = default;
  };

  void command(int id, std::uint32_t argument) override;
  // Paints `own` and `opponent` with the game's painter; the opponent's numbers only when
  // `showOpponent`.
  void paint(int boardControl, Canvas& canvas) override;
  void shutDown() override { ++shutDowns; }

  std::vector<Command> commands;
  std::vector<int> painted;  // board controls, in painting order
  int shutDowns = 0;
  Board own;
  Board opponent;
  bool showOpponent = false;
  std::function<void(int id)> onCommand;
};

// Answers every question box that opens while it lives, and remembers what was asked.
class QuestionAnswerer {
 public:
  explicit QuestionAnswerer(bool yes);
  ~QuestionAnswerer();

  struct Question {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QString yesLabel;
    QString noLabel;
    bool yesIsDefault;
    bool modal;
    QWidget* parent;
  };
  std::vector<Question> asked;

 private:
  void poll();

  bool yes_;
  QTimer timer_;
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_APP_APP_TEST_SUPPORT_H_
