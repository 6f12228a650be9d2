// One complete player's program for end-to-end tests: a headless window, its own UI thread and a
// Program on a chosen port. Tests drive it as a user would (toggles, buttons, clicks, typed text)
// and read the window back. Several players live in one test process.
#ifndef PENTARO_TESTS_SUPPORT_TEST_PLAYER_H_
#define PENTARO_TESTS_SUPPORT_TEST_PLAYER_H_

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/program.h"
#include "support/raw_client.h"  // freePort()
#include "ui/controls.h"
#include "ui/headless_ui_thread.h"
#include "ui/headless_window.h"

namespace pentaro::testing {

// CP932 bytes of a UTF-8 literal, and back.
std::string sjis(const std::string& utf8);
std::string utf8(const std::string& cp932Text);

// Polls `condition` until it holds or `timeout` passes; true when it held.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

class TestPlayer {
 public:
  TestPlayer(int port, const std::string& nameUtf8, std::uint32_t seed,
             const std::string& settingsPath = "");
  ~TestPlayer();

  // Runs `fn` on the player's UI thread and waits for it.
  void run(const std::function<void()>& fn);
  void click(int control, std::uint32_t argument = 0);
  // Clicks a push-like toggle: its pressed state flips, then its command runs.
  void toggle(int control);
  void hostLobby() { toggle(IDC_BE_SERVER); }
  void connect(const std::string& address = "127.0.0.1");
  void say(const std::string& textUtf8);
  // Selects the participant line carrying `id`; false when there is none.
  bool selectParticipant(int id);
  // Clicks the own board's cell that holds `number`.
  void call(int number);

  // Reads, in UTF-8 where texts are concerned.
  std::string status() const { return utf8(window.fullText(IDC_STATUS)); }
  std::string chatLog() const { return utf8(window.fullText(IDC_CHAT_LOG)); }
  std::vector<std::string> participants() const;
  bool chatHas(const std::string& lineUtf8) const;
  MatchFields fields();
  Board ownBoard();
  Board opponentBoard();
  bool gameOver();
  bool connected();
  int id() { return fields().ownId; }

  // Waits until the chat log holds `lineUtf8` as a whole line.
  bool waitForChat(const std::string& lineUtf8);
  bool waitForStatus(const std::string& textUtf8);

  HeadlessWindow window;
  HeadlessUiThread ui;
  std::unique_ptr<Program> program;
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_SUPPORT_TEST_PLAYER_H_
