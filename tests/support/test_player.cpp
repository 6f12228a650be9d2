#include "support/test_player.h"

#include <thread>

#include "text/cp932.h"

namespace pentaro::testing {

std::string sjis(const std::string& utf8Text) { return cp932::fromUtf8(utf8Text); }
std::string utf8(const std::string& cp932Text) { return cp932::toUtf8(cp932Text); }

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

TestPlayer::TestPlayer(int port, const std::string& nameUtf8, std::uint32_t seed,
                       const std::string& settingsPath) {
  Program::Options options;
  options.port = port;
  options.settingsPath = settingsPath.empty() ? "/nonexistent/qm.ini" : settingsPath;
  program = std::make_unique<Program>(window, ui, options);
  // Posted commands run later on the UI thread, as a window system delivers them.
  window.setPostHandler([this](int command, std::uint32_t argument) {
    ui.post([this, command, argument] { program->command(command, argument); });
  });
  run([&] {
    program->random().setState(seed);
    program->initDialog();
    window.setText(IDC_PLAYER_NAME, sjis(nameUtf8));
  });
}

TestPlayer::~TestPlayer() {
  ui.stop();
  program.reset();
}

void TestPlayer::run(const std::function<void()>& fn) { ui.invokeAndWait(fn); }

void TestPlayer::click(int control, std::uint32_t argument) {
  run([&] { program->command(control, argument); });
}

void TestPlayer::toggle(int control) {
  run([&] {
    window.setPressed(control, !window.isPressed(control));
    program->command(control);
  });
}

void TestPlayer::connect(const std::string& address) {
  run([&] { window.setText(IDC_SERVER_ADDRESS, address); });
  toggle(IDC_CONNECT);
}

void TestPlayer::say(const std::string& textUtf8) {
  run([&] { window.setText(IDC_CHAT_INPUT, sjis(textUtf8)); });
  click(IDC_CHAT_SEND);
}

bool TestPlayer::selectParticipant(int id) {
  bool found = false;
  run([&] {
    for (int i = 0; i < window.listCount(); ++i) {
      if (window.listItem(i) == id) {
        window.listSelect(i);
        found = true;
        return;
      }
    }
  });
  return found;
}

void TestPlayer::call(int number) {
  run([&] {
    const Board& own = program->boards().own();
    for (int row = 0; row < Board::kSide; ++row) {
      for (int column = 0; column < Board::kSide; ++column) {
        if (own.cell(column, row) == number) {
          program->command(CMD_OWN_BOARD_CLICK, static_cast<std::uint32_t>(column) |
                                                    static_cast<std::uint32_t>(row) << 16);
          return;
        }
      }
    }
  });
}

std::vector<std::string> TestPlayer::participants() const {
  std::vector<std::string> lines;
  for (const std::string& line : window.listLines()) lines.push_back(utf8(line));
  return lines;
}

bool TestPlayer::chatHas(const std::string& lineUtf8) const {
  const std::string log = "\r\n" + chatLog();
  return log.find("\r\n" + lineUtf8 + "\r\n") != std::string::npos;
}

MatchFields TestPlayer::fields() {
  MatchFields f;
  run([&] { f = program->client().fields(); });
  return f;
}

Board TestPlayer::ownBoard() {
  Board b;
  run([&] { b = program->boards().own(); });
  return b;
}

Board TestPlayer::opponentBoard() {
  Board b;
  run([&] { b = program->boards().opponent(); });
  return b;
}

bool TestPlayer::gameOver() {
  bool over = false;
  run([&] { over = program->boards().gameOver(); });
  return over;
}

bool TestPlayer::connected() {
  bool up = false;
  run([&] { up = program->client().connected(); });
  return up;
}

bool TestPlayer::waitForChat(const std::string& lineUtf8) {
  return waitUntil([&] { return chatHas(lineUtf8); });
}

bool TestPlayer::waitForStatus(const std::string& textUtf8) {
  return waitUntil([&] { return status() == textUtf8; });
}

}  // namespace pentaro::testing
