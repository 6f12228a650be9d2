// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One complete player's program for end-to-end tests: a headless view, its own UI thread and a
// Program on a chosen port. Tests drive it with the commands a window gives (toggles, buttons,
// clicks, typed text) and read the view back. Several players live in one test process.
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
#include "ui/control_states.h"
#include "ui/headless_ui_thread.h"
#include "ui/headless_view.h"

namespace pentaro::testing {

// CP932 bytes of a UTF-8 literal, and back.
std::string sjis(const std::string& utf8);
std::string utf8(const std::string& cp932Text);

// Polls `condition` until it holds or `timeout` passes; true when it held.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

class TestPlayer {
 public:
  // `announce`: hosting announces the lobby over DNS-SD, as the window's program does.
  TestPlayer(int port, const std::string& nameUtf8, std::uint32_t seed,
             const std::string& settingsPath = "", bool announce = false);
  ~TestPlayer();

  // Runs `fn` on the player's UI thread and waits for it.
  void run(const std::function<void()>& fn);
  // "サーバーになる" pressed and released.
  void hostLobby();
  void stopHosting();
  // "接続" pressed with `address` typed, and released.
  void connect(const std::string& address = "127.0.0.1");
  void disconnect();
  void setName(const std::string& nameUtf8);
  void say(const std::string& textUtf8);
  // Selects the participant line carrying `id`; false when there is none.
  bool selectParticipant(int id);
  // "対戦" and "観戦" with the selected participant, "対戦終了", the placement buttons.
  void challengeSelected();
  void watchSelected();
  void endMatch();
  void placeManually();
  void autoPlaceRest();
  void clickCell(int column, int row);
  // Clicks the own board's cell that holds `number`.
  void call(int number);

  // Reads, in UTF-8 where texts are concerned.
  std::string status() const { return utf8(view.status()); }
  std::string chatLog() const { return utf8(view.chatLog()); }
  std::vector<std::string> participants() const;
  bool chatHas(const std::string& lineUtf8) const;
  // What the toggles and the fields show, and whether "対戦終了" may be used.
  ConnectionControls controls() const { return connectionControls(view.connection()); }
  int questionsAsked() const { return view.questionsAsked(); }
  bool inMatchControls() const { return view.match() == MatchState::kPlaying; }
  MatchFields fields();
  // The name and the address as the program holds them, CP932.
  std::string name();
  std::string address();
  Board ownBoard();
  Board opponentBoard();
  bool gameOver();
  bool connected();
  int id() { return fields().ownId; }

  // Waits until the chat log holds `lineUtf8` as a whole line.
  bool waitForChat(const std::string& lineUtf8);
  bool waitForStatus(const std::string& textUtf8);

  HeadlessView view;
  HeadlessUiThread ui;
  std::unique_ptr<Program> program;
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_SUPPORT_TEST_PLAYER_H_
