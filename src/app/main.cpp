// The program entry: one main dialog and the Program behind it, then Qt's event loop until the
// dialog is closed.

#include <QApplication>
#include <QBrush>
#include <QMessageBox>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "app/main_dialog.h"
#include "app/program_procedure.h"
#include "app/qt_text.h"
#include "app/qt_ui_thread.h"
#include "app/qt_window.h"
#include "shell/program.h"
#include "text/texts.h"

namespace {

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Without a display Qt aborts while starting its platform; say what to do instead.
bool displayAvailable() {
  return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

bool usable(const QBrush& brush) {
  return brush.style() == Qt::SolidPattern && brush.color().isValid();
}

}  // namespace

int main(int argc, char** argv) {
  if (!displayAvailable()) {
    std::fputs(
        "pentaro: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the game "
        "window cannot open.\n"
        "Run it on a virtual X display instead:\n"
        "  xvfb-run -a build/src/app/pentaro\n"
        "or without any screen at all: QT_QPA_PLATFORM=offscreen build/src/app/pentaro\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setFont(pentaro::MainDialog::dialogFont());

  // The board colours; without them there is no game to show.
  const QBrush markBrush(QColor(255, 255, 0));
  const QBrush lineBrush(QColor(255, 0, 0));
  const QBrush cellBrush(Qt::white);
  if (!usable(markBrush) || !usable(lineBrush) || !usable(cellBrush)) {
    QMessageBox::critical(nullptr, pentaro::toQString(pentaro::texts().boxCaption),
                          pentaro::toQString(pentaro::texts().outOfMemory));
    return 0;
  }

  pentaro::QtUiThread ui;
  auto dialog = std::make_unique<pentaro::MainDialog>();
  pentaro::QtWindow window(*dialog);
  auto program = std::make_unique<pentaro::Program>(window, ui);
  pentaro::ProgramProcedure procedure(*program);

  // Every run shuffles differently; the first board is dealt by initDialog.
  program->random().setState(static_cast<std::uint32_t>(std::time(nullptr)));
  dialog->setProcedure(&procedure);
  program->initDialog();
  QObject::connect(dialog.get(), &QDialog::finished, &app, &QCoreApplication::quit);
  dialog->show();
  app.exec();

  // Workers still waiting for the UI are released, then stopped and joined with the Program;
  // the dialog goes last.
  dialog->setProcedure(nullptr);
  ui.shutDown();
  program.reset();
  dialog.reset();
  return 0;
}
