#include "app/app_test_support.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "game/board_painter.h"
#include "ui/controls.h"

namespace pentaro::testing {

QApplication& application() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  Q_ASSERT(app != nullptr);  // made by the test program's main()
  return *app;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
  return QTest::qWaitFor(condition, timeoutMs);
}

QImage grabImage(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor pixel(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

void RecordingProcedure::command(int id, std::uint32_t argument) {
  commands.push_back(Command{id, argument});
  if (onCommand) onCommand(id);
}

void RecordingProcedure::paint(int boardControl, Canvas& canvas) {
  painted.push_back(boardControl);
  if (boardControl == IDC_OWN_BOARD) {
    paintBoard(canvas, own, true);
  } else {
    paintBoard(canvas, opponent, showOpponent);
  }
}

QuestionAnswerer::QuestionAnswerer(bool yes) : yes_(yes) {
  timer_.setInterval(5);
  QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
  timer_.start();
}

QuestionAnswerer::~QuestionAnswerer() { timer_.stop(); }

void QuestionAnswerer::poll() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box == nullptr || !box->isVisible()) continue;
    QAbstractButton* yes = box->button(QMessageBox::Yes);
    QAbstractButton* no = box->button(QMessageBox::No);
    asked.push_back(Question{
        box->windowTitle(), box->text(), box->icon(), yes != nullptr ? yes->text() : QString(),
        no != nullptr ? no->text() : QString(), yes != nullptr && box->defaultButton() == yes,
        box->isModal(), box->parentWidget()});
    if (QAbstractButton* button = box->button(yes_ ? QMessageBox::Yes : QMessageBox::No)) {
      button->click();
    }
  }
}

}  // namespace pentaro::testing
