// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A LobbyServer on a free loopback port with up to ten raw players, and the expected server lines
// built from the Japanese texts. The roster the welcome reads is a participant model that a test
// fills the way the server's announcements would.
#ifndef PENTARO_TESTS_SERVER_LOBBY_SERVER_FIXTURE_H_
#define PENTARO_TESTS_SERVER_LOBBY_SERVER_FIXTURE_H_

#include <gtest/gtest.h>

#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "participants/participant_model.h"
#include "server/lobby_server.h"
#include "server/roster_view.h"
#include "support/raw_client.h"

namespace pentaro::testing {

std::string sjis(std::string_view utf8);
std::string greetingLine();  // "MSG\tサーバのバージョンは 1.01 です。" in CP932
std::string arrivalLine(std::string_view name);
std::string departureLine(std::string_view name);

// A roster that a test fills by hand while the server's workers read it.
class FilledRoster : public RosterView {
 public:
  void addParticipant(int id, const std::string& name) {
    change([&](auto& m) { m.addParticipant(id, name); });
  }
  void removeParticipant(int id) {
    change([&](auto& m) { m.removeParticipant(id); });
  }
  void startedMatch(int a, int b) {
    change([&](auto& m) { m.startedMatch(a, b); });
  }
  void endedMatch(int a, int b) {
    change([&](auto& m) { m.endedMatch(a, b); });
  }
  std::vector<RosterLine> rosterLines() const override {
    std::lock_guard lock(mutex_);
    return model_.rosterLines();
  }

 private:
  template <typename Change>
  void change(Change change) {
    std::lock_guard lock(mutex_);
    change(model_);
  }
  mutable std::mutex mutex_;
  ParticipantModel model_;  // guarded by mutex_
};

class LobbyServerTest : public ::testing::Test {
 protected:
  static constexpr int kNone = LobbyServer::kNoWatch;

  void SetUp() override;
  void TearDown() override;

  // Connects a raw player, which must get `id`, and reads its welcome up to the greeting.
  RawClient& arrive(int id);
  // arrive, then "NEW_C": everybody present, the newcomer included, reads the arrival and ADD.
  RawClient& enter(int id, std::string_view name);
  // Closes player `id`; everybody left reads DEL and the departure under the player's name.
  void leave(int id);
  // A player's slot is free only once its worker has ended, a moment after the departure went
  // out. A newcomer that comes too early takes a later slot: it leaves again and another tries,
  // until one gets `id` (within kWait).
  RawClient& arriveOnceFree(int id);

  // Every present player but `except` reads `lines` next, in this order.
  void expectAtAll(const std::vector<std::string>& lines, int except = -1);
  // Player `from` chats a marker that every present player must read as its very next line:
  // everything `from` sent before has been dispatched, and nothing else reached anybody.
  void expectQuietAfter(int from);

  RawClient& player(int id) { return *players_[static_cast<std::size_t>(id)]; }
  std::pair<int, int> watching(int id) const { return server_->watchEntries(id); }
  int endedCount();
  bool waitForEnded(int count);

  int port_ = -1;
  FilledRoster roster_;
  std::array<std::unique_ptr<RawClient>, LobbyServer::kSlots> players_;
  std::array<std::string, LobbyServer::kSlots> names_;  // as the server should know them
  std::unique_ptr<LobbyServer> server_;

  std::mutex endedMutex_;
  std::condition_variable endedChanged_;
  int ended_ = 0;  // guarded by endedMutex_
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_SERVER_LOBBY_SERVER_FIXTURE_H_
