// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// pentaro-bot, run as a child process, against a lobby that goes away and comes back.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "server/child_process.h"
#include "server/lobby_server.h"
#include "support/raw_client.h"

namespace pentaro::testing {
namespace {

// Waits until slot 0 of `server` is registered as `name`.
bool joinsAs(const LobbyServer& server, const std::string& name) {
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  while (std::chrono::steady_clock::now() < deadline) {
    if (server.nameOf(0) == name) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(ComputerPlayerBot, JoinsAgainUnderItsNameWhenTheHostComesBack) {
  const int port = freePort();
  auto host = std::make_unique<LobbyServer>();
  ASSERT_TRUE(host->startServer(port));
  ChildProcess bot(
      {PENTARO_BOT_PATH, "--port", std::to_string(port), "--name", "cpu", "--pause-ms", "0"});
  ASSERT_TRUE(bot.started());
  ASSERT_TRUE(joinsAs(*host, "cpu"));
  // The player notices its own join when it next looks at its program (every 100 ms); a drop
  // before that would pass unnoticed.
  std::this_thread::sleep_for(std::chrono::seconds(1));

  // The host goes (its connections end), and a new one listens on the same port.
  host.reset();
  EXPECT_EQ(bot.readOutputLine(), "lost connection cpu");
  host = std::make_unique<LobbyServer>();
  ASSERT_TRUE(host->startServer(port));
  EXPECT_EQ(bot.readOutputLine(), "rejoined cpu");
  EXPECT_TRUE(joinsAs(*host, "cpu"));

  ASSERT_TRUE(bot.signal(SIGTERM));
  EXPECT_EQ(bot.waitForExit(), 0) << bot.output();
  EXPECT_NE(bot.output().find("lost connections 1"), std::string::npos) << bot.output();
}

}  // namespace
}  // namespace pentaro::testing
