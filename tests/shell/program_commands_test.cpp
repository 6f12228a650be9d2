// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The dialog's commands on a program that is not connected: placement by hand and at random,
// clicks outside a match, chat without a connection, and the settings at start and shut-down.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <set>

#include "support/test_player.h"

namespace pentaro::testing {
namespace {

bool holdsOneToTwentyFive(const Board& board) {
  std::set<int> seen;
  for (int i = 0; i < Board::kCells; ++i) seen.insert(board.cellAt(i));
  return seen.size() == 25 && *seen.begin() == 1 && *seen.rbegin() == 25;
}

TEST(ProgramCommands, AFreshProgramShowsAShuffledBoardAndIdleControls) {
  TestPlayer player(freePort(), "あき", 0x9778182b);
  EXPECT_TRUE(holdsOneToTwentyFive(player.ownBoard()));
  EXPECT_EQ(player.opponentBoard(), Board());
  EXPECT_EQ(player.status(), "未接続です");
  EXPECT_FALSE(player.inMatchControls());
  EXPECT_EQ(player.view.connection(), ConnectionState::kIdle);
  EXPECT_FALSE(player.fields().playing());
}

TEST(ProgramCommands, PlacementByHandFillsOneCellPerClick) {
  TestPlayer player(freePort(), "あき", 1);
  player.placeManually();
  EXPECT_EQ(player.status(), "1番から、順番に配置してください");
  EXPECT_EQ(player.ownBoard(), Board());

  player.clickCell(2, 3);
  EXPECT_EQ(player.ownBoard().cell(2, 3), 1);
  EXPECT_EQ(player.status(), "次は、2");
  // An occupied cell uses up nothing and leaves the status line alone.
  const std::size_t statusChanges = player.view.statusHistory().size();
  player.clickCell(2, 3);
  EXPECT_EQ(player.view.statusHistory().size(), statusChanges);
  player.clickCell(0, 0);
  EXPECT_EQ(player.ownBoard().cell(0, 0), 2);

  // The rest at random: the two placed numbers stay where they are.
  player.autoPlaceRest();
  EXPECT_EQ(player.status(), "自動配置完了");
  const Board board = player.ownBoard();
  EXPECT_TRUE(holdsOneToTwentyFive(board));
  EXPECT_EQ(board.cell(2, 3), 1);
  EXPECT_EQ(board.cell(0, 0), 2);
  EXPECT_EQ(player.program->boards().nextToPlace(), GameBoards::kNoPlacement);
}

TEST(ProgramCommands, TheTwentyFifthNumberEndsThePlacement) {
  TestPlayer player(freePort(), "あき", 1);
  player.placeManually();
  for (int i = 0; i < 24; ++i) player.clickCell(i % 5, i / 5);
  EXPECT_EQ(player.status(), "次は、25");
  player.clickCell(4, 4);
  EXPECT_EQ(player.status(), "配置完了");
  EXPECT_EQ(player.ownBoard().cell(4, 4), 25);
  // Outside a placement and a match a click does nothing.
  const Board before = player.ownBoard();
  player.clickCell(1, 1);
  EXPECT_EQ(player.ownBoard(), before);
  EXPECT_EQ(player.status(), "配置完了");
}

TEST(ProgramCommands, AutoPlacementWithoutAPlacementDealsANewBoard) {
  TestPlayer player(freePort(), "あき", 1);
  const Board before = player.ownBoard();
  player.autoPlaceRest();
  EXPECT_NE(player.ownBoard(), before);
  EXPECT_TRUE(holdsOneToTwentyFive(player.ownBoard()));
  EXPECT_EQ(player.status(), "自動配置完了");  // not connected: no waiting text replaces it
}

TEST(ProgramCommands, WatchWithoutASelectionKeepsThePlacementGoing) {
  TestPlayer player(freePort(), "あき", 1);
  player.placeManually();
  player.clickCell(0, 0);
  player.watchSelected();
  player.challengeSelected();
  EXPECT_EQ(player.program->boards().nextToPlace(), 2);
}

TEST(ProgramCommands, WithoutAConnectionChatAndRequestsSayWhyNothingHappens) {
  TestPlayer player(freePort(), "あき", 1);
  player.say("ひとりごと");
  EXPECT_FALSE(player.chatHas("あき : ひとりごと"));
  EXPECT_TRUE(player.chatHas("接続していないので、発言は送られませんでした"));
  player.challengeSelected();
  EXPECT_TRUE(player.chatHas("まだ接続していません。先に接続してください"));
}

TEST(ProgramCommands, ACancelledConnectIsSaidAndTheStatusIsIdle) {
  TestPlayer player(freePort(), "あき", 1);
  // A port nobody listens on answers at once; an address that never answers keeps connecting.
  player.run([&] {
    player.program->setServerAddress("192.0.2.1");
    player.program->connect();
    player.program->disconnect();
  });
  EXPECT_TRUE(player.chatHas("接続をやめました"));
  EXPECT_EQ(player.status(), "未接続です");
  EXPECT_EQ(player.view.connection(), ConnectionState::kIdle);
}

TEST(ProgramCommands, ADamagedSettingsFileIsSaidOnce) {
  char pattern[] = "/tmp/pentaro-program-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  const std::string path = dir + "/qm.ini";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fputs("\x03", file);  // a length cut short
  std::fclose(file);
  TestPlayer player(freePort(), "", 1, path);
  EXPECT_TRUE(player.chatHas("設定ファイル（qm.ini）を読めなかったので、空欄から始めます"));
  EXPECT_EQ(player.name(), "");
  std::remove(path.c_str());
  rmdir(dir.c_str());
}

TEST(ProgramCommands, SettingsAreLoadedAtCreationAndSavedAtShutDown) {
  char pattern[] = "/tmp/pentaro-program-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  const std::string path = dir + "/qm.ini";
  {
    TestPlayer first(freePort(), "", 1, path);
    EXPECT_EQ(first.view.name(), "");
    first.run([&] {
      first.program->connect();  // an empty name becomes the default name
      first.program->disconnect();
      first.program->setServerAddress("192.0.2.7");
    });
    first.run([&] { first.program->shutDown(); });
  }
  {
    TestPlayer second(freePort(), "", 1, path);
    // The name was set by the fixture after loading; reload to see the file.
    second.run([&] { second.program->start(); });
    EXPECT_EQ(utf8(second.view.name()), "名無し");
    EXPECT_EQ(second.view.address(), "192.0.2.7");
  }
  std::remove(path.c_str());
  rmdir(dir.c_str());
}

TEST(ProgramCommands, ASaveThatFailsAtShutDownIsReportedInTheLog) {
  TestPlayer player(freePort(), "", 1, "/nonexistent-folder/qm.ini");
  player.run([&] { player.program->shutDown(); });
  EXPECT_TRUE(player.chatHas("設定を保存できませんでした"));
}

}  // namespace
}  // namespace pentaro::testing
