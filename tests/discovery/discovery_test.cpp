// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a lobby says in its DNS-SD records, and the found-lobbies model's bookkeeping. The
// announcer and browser themselves are tested against a real daemon (avahi_daemon_test.cpp).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/found_lobbies.h"
#include "discovery/lobby_txt.h"

namespace pentaro {
namespace {

TEST(LobbyTxt, RecordsRoundTripAndBadCountsAreNoCounts) {
  const std::vector<std::string> record = lobby_txt::entries("1.01", 7);
  EXPECT_THAT(record, ::testing::ElementsAre("txtvers=1", "version=1.01", "players=7"));
  EXPECT_EQ(lobby_txt::players(record), 7);
  EXPECT_EQ(lobby_txt::value(record, "version"), "1.01");

  struct Case {
    std::vector<std::string> record;
    std::optional<int> players;
  };
  const Case cases[] = {
      {{}, std::nullopt},
      {{"players="}, std::nullopt},
      {{"players=-1"}, std::nullopt},
      {{"players=3x"}, std::nullopt},
      {{"players=99999999999"}, std::nullopt},
      {{"playersx=3", "players=4"}, 4},  // a longer key is another key
      {{"players"}, std::nullopt},       // a key without a value
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lobby_txt::players(c.record), c.players) << ::testing::PrintToString(c.record);
  }
}

TEST(LobbyTxt, InstanceNamesAreOneDnsLabelOfWholeCharacters) {
  EXPECT_EQ(lobby_txt::instanceName("花子", "machine"), "花子");
  EXPECT_EQ(lobby_txt::instanceName("", "machine"), "machine");
  EXPECT_EQ(lobby_txt::instanceName("a\tb\x7F", "machine"), "ab");
  // 21 three-byte characters are 63 bytes; the 22nd does not fit and is not cut in half.
  std::string long_name;
  for (int i = 0; i < 22; ++i) long_name += "あ";
  const std::string cut = lobby_txt::instanceName(long_name, "machine");
  EXPECT_EQ(cut.size(), 63u);
  EXPECT_EQ(cut, long_name.substr(0, 63));
  EXPECT_EQ(lobby_txt::instanceName(std::string(70, 'x'), "m"), std::string(63, 'x'));
}

TEST(FoundLobbies, ListsByNameTellsEveryChangeOnceAndForgetsAllWhenTheDaemonGoes) {
  FoundLobbies lobbies;
  int changes = 0;
  lobbies.setListener([&] { ++changes; });
  EXPECT_EQ(lobbies.state(), FoundLobbies::State::kSearching);
  lobbies.setState(FoundLobbies::State::kAvailable);
  lobbies.put("2\tzeta", {"zeta", "b.local", "10.0.0.2", 1230, 1, "1.01"});
  lobbies.put("2\talpha", {"alpha", "a.local", "10.0.0.1", 1230, 0, "1.01"});
  lobbies.put("2\talpha", {"alpha", "a.local", "10.0.0.1", 1230, 0, "1.01"});  // no change
  EXPECT_EQ(changes, 3);
  lobbies.put("2\talpha", {"alpha", "a.local", "10.0.0.1", 1230, 2, "1.01"});
  ASSERT_EQ(lobbies.lobbies().size(), 2u);
  EXPECT_EQ(lobbies.lobbies()[0].name, "alpha");
  EXPECT_EQ(lobbies.lobbies()[0].players, 2);
  lobbies.remove("2\tnobody");
  EXPECT_EQ(changes, 4);

  lobbies.setState(FoundLobbies::State::kUnavailable);
  EXPECT_TRUE(lobbies.lobbies().empty());
  EXPECT_EQ(changes, 5);
  lobbies.setState(FoundLobbies::State::kUnavailable);  // still gone: nothing to tell
  EXPECT_EQ(changes, 5);
}

}  // namespace
}  // namespace pentaro
