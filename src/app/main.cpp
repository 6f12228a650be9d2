// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program entry: one main dialog and the Program behind it, then Qt's event loop until the
// dialog is closed.

#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QTranslator>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "app/computer_invitations.h"
#include "app/controls.h"
#include "app/found_lobbies_box.h"
#include "app/main_dialog.h"
#include "app/program_procedure.h"
#include "app/qt_ui_thread.h"
#include "app/qt_view.h"
#include "app/qt_window.h"
#include "base/licence_notice.h"
#include "net/protocol.h"
#include "shell/program.h"
#include "text/language.h"

namespace {

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Without a display Qt aborts while starting its platform; say what to do instead.
bool displayAvailable() {
  return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

// Qt's texts for its own dialogs and buttons (Debian: qt6-translations-l10n), in the language
// of the program's catalog: "qtbase_ja" for the Japanese source texts. Qt's own texts are
// English, so English needs none. Without them the question box names its buttons itself.
constexpr char kQtTranslationPrefix[] = "qtbase_";
constexpr char kQtSourceLanguage[] = "en";

void loadQtTranslation(QTranslator& translator) {
  const QString language = QString::fromStdString(pentaro::currentLanguage());
  if (language.startsWith(QLatin1String(kQtSourceLanguage))) return;
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  // "pt_BR" falls back to "pt", as gettext does.
  const bool loaded =
      translator.load(QLatin1String(kQtTranslationPrefix) + language, folder) ||
      translator.load(QLatin1String(kQtTranslationPrefix) + language.section(u'_', 0, 0), folder);
  if (loaded) QApplication::installTranslator(&translator);
}

void printUsage() {
  std::fputs(
      pentaro::localizedUtf8(
          "usage: pentaro [Qt options]\n"
          "       pentaro --help | --version\n"
          "The Pentaro game window: a two-player network number game with a lobby.\n"
          "Host a lobby with \"サーバーになる\" (TCP port 1230), or join one with \"接続\" and "
          "the\n"
          "host's address. Without a display, run it on a virtual one: xvfb-run -a pentaro\n"),
      stdout);
}

// --help and --version are answered before Qt starts, so they work without a display.
bool answeredCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      printUsage();
      return true;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("pentaro %s\n%s", PENTARO_VERSION, pentaro::kLicenceNotice);
      return true;
    }
  }
  return false;
}

// The calendar time in seconds, as the seed has always been, mixed with the process id and the
// sub-second clock: two copies started in the same second (two players on one machine) would
// otherwise deal identical boards, and every match between them would be a draw. State 0 would
// make every draw 0, so it is avoided.
std::uint32_t startSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count() % 1000000;
  std::uint32_t seed = static_cast<std::uint32_t>(std::time(nullptr)) ^
                       (static_cast<std::uint32_t>(::getpid()) << 20) ^
                       static_cast<std::uint32_t>(micros << 8);
  return seed != 0 ? seed : 1;
}

}  // namespace

int main(int argc, char** argv) {
  pentaro::startLanguage();
  if (answeredCommandLine(argc, argv)) return 0;
  if (!displayAvailable()) {
    // Named as it was started: the installed command, or a build folder's program.
    const char* self = argc > 0 ? argv[0] : "pentaro";
    std::fprintf(
        stderr,
        pentaro::localizedUtf8("pentaro: there is no display (neither DISPLAY nor WAYLAND_DISPLAY "
                               "is set), so the game window cannot open.\n"
                               "Run it on a virtual X display instead:\n"
                               "  xvfb-run -a %s\n"
                               "or without any screen at all: QT_QPA_PLATFORM=offscreen %s\n"),
        self, self);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setFont(pentaro::MainDialog::dialogFont());
  QTranslator qtTexts;
  loadQtTranslation(qtTexts);

  pentaro::QtUiThread ui;
  auto dialog = std::make_unique<pentaro::MainDialog>();
  pentaro::QtWindow window(*dialog);
  pentaro::QtView view(*dialog, window);
  pentaro::Program::Options options;
  // DNS-SD: hosting announces the lobby (the tests' programs do not); PENTARO_NO_DISCOVERY: off.
  options.announce = !isSet("PENTARO_NO_DISCOVERY");
  auto program = std::make_unique<pentaro::Program>(view, ui, options);
  pentaro::ProgramProcedure procedure(*program, window, view);

  // Every run shuffles differently; the first board is dealt by start.
  program->random().setState(startSeed());
  dialog->setProcedure(&procedure);
  program->start();
  auto computers = std::make_unique<pentaro::ComputerInvitations>(
      *dialog->control(pentaro::IDC_PARTICIPANTS), *program, pentaro::protocol::kLobbyPort);
  // DNS-SD: the lobbies found on the network, as the address field's drop-down list (a child of
  // the dialog, which it goes with).
  auto* foundLobbies = new pentaro::FoundLobbiesBox(
      *qobject_cast<QLineEdit*>(dialog->control(pentaro::IDC_SERVER_ADDRESS)), view,
      pentaro::protocol::kLobbyPort);
  if (options.announce) foundLobbies->startBrowsing();
  QObject::connect(dialog.get(), &QDialog::finished, &app, &QCoreApplication::quit);
  dialog->show();
  app.exec();

  // Workers still waiting for the UI are released, then stopped and joined with the Program;
  // the dialog goes last.
  dialog->setProcedure(nullptr);
  computers.reset();  // the invited computer players leave with the program
  ui.shutDown();
  program.reset();
  dialog.reset();
  return 0;
}
