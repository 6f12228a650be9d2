// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lobby_server_fixture.h"

#include <chrono>

#include "text/cp932.h"

namespace pentaro::testing {

std::string sjis(std::string_view utf8) { return cp932::fromUtf8(utf8); }

std::string greetingLine() { return "MSG\t" + sjis("サーバのバージョンは 1.01 です。"); }

std::string arrivalLine(std::string_view name) {
  return "MSG\t" + std::string(name) + sjis("さんの登場です");
}

std::string departureLine(std::string_view name) {
  return "MSG\t" + std::string(name) + sjis("さんが、いなくなりました");
}

void LobbyServerTest::SetUp() {
  port_ = freePort();
  ASSERT_GT(port_, 0);
  server_ = std::make_unique<LobbyServer>();
  server_->setRoster(&roster_);
  server_->setEndedHandler([this](std::uint64_t) {
    std::lock_guard lock(endedMutex_);
    ++ended_;
    endedChanged_.notify_all();
  });
  ASSERT_TRUE(server_->startServer(port_));
  ASSERT_EQ(server_->listenError(), 0);
}

void LobbyServerTest::TearDown() {
  server_.reset();
  for (auto& p : players_) p.reset();
}

RawClient& LobbyServerTest::arrive(int id) {
  auto client = std::make_unique<RawClient>(port_);
  EXPECT_TRUE(client->connected());
  EXPECT_EQ(client->readLine(), "ID\t" + std::to_string(id));
  EXPECT_EQ(client->readLine(), greetingLine());
  players_[static_cast<std::size_t>(id)] = std::move(client);
  names_[static_cast<std::size_t>(id)] = "?";
  return player(id);
}

RawClient& LobbyServerTest::enter(int id, std::string_view name) {
  RawClient& newcomer = arrive(id);
  newcomer.sendLine("NEW_C\t" + std::string(name));
  names_[static_cast<std::size_t>(id)] = name;
  expectAtAll({arrivalLine(name), "ADD\t" + std::to_string(id) + "\t" + std::string(name)});
  return newcomer;
}

void LobbyServerTest::leave(int id) {
  players_[static_cast<std::size_t>(id)].reset();
  expectAtAll({"DEL\t" + std::to_string(id), departureLine(names_[static_cast<std::size_t>(id)])});
}

RawClient& LobbyServerTest::arriveOnceFree(int id) {
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  while (std::chrono::steady_clock::now() < deadline) {
    auto client = std::make_unique<RawClient>(port_);
    const std::optional<std::string> first = client->readLine();
    EXPECT_EQ(client->readLine(), greetingLine());
    if (first == "ID\t" + std::to_string(id)) {
      players_[static_cast<std::size_t>(id)] = std::move(client);
      names_[static_cast<std::size_t>(id)] = "?";
      return player(id);
    }
    if (!first || first->rfind("ID\t", 0) != 0) break;
    const int other = std::stoi(first->substr(3));
    EXPECT_GT(other, id) << "a lower slot than the one just freed";
    client.reset();
    expectAtAll({"DEL\t" + std::to_string(other), departureLine("?")});
  }
  ADD_FAILURE() << "no newcomer got slot " << id;
  return arrive(id);
}

void LobbyServerTest::expectAtAll(const std::vector<std::string>& lines, int except) {
  for (int id = 0; id < LobbyServer::kSlots; ++id) {
    if (id == except || !players_[static_cast<std::size_t>(id)]) continue;
    for (const std::string& line : lines) EXPECT_EQ(player(id).readLine(), line) << "player " << id;
  }
}

void LobbyServerTest::expectQuietAfter(int from) {
  player(from).sendLine("CHAT\tquiet?");
  expectAtAll({"CHAT\t" + std::to_string(from) + "\t" + names_[static_cast<std::size_t>(from)] +
               "\tquiet?"});
}

int LobbyServerTest::endedCount() {
  std::lock_guard lock(endedMutex_);
  return ended_;
}

bool LobbyServerTest::waitForEnded(int count) {
  std::unique_lock lock(endedMutex_);
  return endedChanged_.wait_for(lock, kWait, [&] { return ended_ >= count; });
}

}  // namespace pentaro::testing
