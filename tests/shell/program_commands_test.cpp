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

std::uint32_t at(int column, int row) {
  return static_cast<std::uint32_t>(column) | static_cast<std::uint32_t>(row) << 16;
}

TEST(ProgramCommands, AFreshProgramShowsAShuffledBoardAndIdleControls) {
  TestPlayer player(freePort(), "あき", 0x9778182b);
  EXPECT_TRUE(holdsOneToTwentyFive(player.ownBoard()));
  EXPECT_EQ(player.opponentBoard(), Board());
  EXPECT_EQ(player.status(), "未接続です");
  EXPECT_FALSE(player.window.isEnabled(IDC_END_MATCH));
  EXPECT_TRUE(player.window.isEnabled(IDC_CHALLENGE));
  EXPECT_FALSE(player.fields().playing());
}

TEST(ProgramCommands, PlacementByHandFillsOneCellPerClick) {
  TestPlayer player(freePort(), "あき", 1);
  player.click(IDC_PLACE_MANUALLY);
  EXPECT_EQ(player.status(), "1番から、順番に配置してください");
  EXPECT_EQ(player.ownBoard(), Board());

  player.click(CMD_OWN_BOARD_CLICK, at(2, 3));
  EXPECT_EQ(player.ownBoard().cell(2, 3), 1);
  EXPECT_EQ(player.status(), "次は、2");
  // An occupied cell uses up nothing and leaves the status line alone.
  player.run([&] { player.window.setText(IDC_STATUS, "x"); });
  player.click(CMD_OWN_BOARD_CLICK, at(2, 3));
  EXPECT_EQ(player.status(), "x");
  player.click(CMD_OWN_BOARD_CLICK, at(0, 0));
  EXPECT_EQ(player.ownBoard().cell(0, 0), 2);

  // The rest at random: the two placed numbers stay where they are.
  player.click(IDC_AUTO_PLACE_REST);
  EXPECT_EQ(player.status(), "自動配置完了");
  const Board board = player.ownBoard();
  EXPECT_TRUE(holdsOneToTwentyFive(board));
  EXPECT_EQ(board.cell(2, 3), 1);
  EXPECT_EQ(board.cell(0, 0), 2);
  EXPECT_EQ(player.program->boards().nextToPlace(), GameBoards::kNoPlacement);
}

TEST(ProgramCommands, TheTwentyFifthNumberEndsThePlacement) {
  TestPlayer player(freePort(), "あき", 1);
  player.click(IDC_PLACE_MANUALLY);
  for (int i = 0; i < 24; ++i) player.click(CMD_OWN_BOARD_CLICK, at(i % 5, i / 5));
  EXPECT_EQ(player.status(), "次は、25");
  player.click(CMD_OWN_BOARD_CLICK, at(4, 4));
  EXPECT_EQ(player.status(), "配置完了");
  EXPECT_EQ(player.ownBoard().cell(4, 4), 25);
  // Outside a placement and a match a click does nothing.
  const Board before = player.ownBoard();
  player.click(CMD_OWN_BOARD_CLICK, at(1, 1));
  EXPECT_EQ(player.ownBoard(), before);
  EXPECT_EQ(player.status(), "配置完了");
}

TEST(ProgramCommands, AutoPlacementWithoutAPlacementDealsANewBoard) {
  TestPlayer player(freePort(), "あき", 1);
  const Board before = player.ownBoard();
  player.click(IDC_AUTO_PLACE_REST);
  EXPECT_NE(player.ownBoard(), before);
  EXPECT_TRUE(holdsOneToTwentyFive(player.ownBoard()));
  EXPECT_EQ(player.status(), "自動配置完了");  // not connected: no waiting text replaces it
}

TEST(ProgramCommands, WatchWithoutASelectionKeepsThePlacementGoing) {
  TestPlayer player(freePort(), "あき", 1);
  player.click(IDC_PLACE_MANUALLY);
  player.click(CMD_OWN_BOARD_CLICK, at(0, 0));
  player.click(IDC_SPECTATE);
  player.click(IDC_CHALLENGE);
  EXPECT_EQ(player.program->boards().nextToPlace(), 2);
}

TEST(ProgramCommands, ChatWithoutAConnectionShowsInTheOwnLogOnly) {
  TestPlayer player(freePort(), "あき", 1);
  player.say("ひとりごと");
  EXPECT_TRUE(player.chatHas("あき : ひとりごと"));
  EXPECT_EQ(utf8(player.window.fullText(IDC_CHAT_INPUT)), "");
  // 80 characters typed: the first 78 bytes go out.
  player.run([&] { player.window.setText(IDC_CHAT_INPUT, std::string(80, 'x')); });
  player.click(IDC_CHAT_SEND);
  EXPECT_TRUE(player.chatHas("あき : " + std::string(78, 'x')));
}

TEST(ProgramCommands, SettingsAreLoadedAtCreationAndSavedAtShutDown) {
  char pattern[] = "/tmp/pentaro-program-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  const std::string path = dir + "/qm.ini";
  {
    TestPlayer first(freePort(), "", 1, path);
    EXPECT_EQ(first.window.fullText(IDC_PLAYER_NAME), "");
    first.toggle(IDC_CONNECT);  // an empty name becomes the default name
    first.toggle(IDC_CONNECT);
    first.run([&] { first.window.setText(IDC_SERVER_ADDRESS, "192.0.2.7"); });
    first.run([&] { first.program->shutDown(); });
  }
  {
    TestPlayer second(freePort(), "", 1, path);
    // The name was set by the fixture after loading; reload to see the file.
    second.run([&] { second.program->initDialog(); });
    EXPECT_EQ(utf8(second.window.fullText(IDC_PLAYER_NAME)), "名無し");
    EXPECT_EQ(second.window.fullText(IDC_SERVER_ADDRESS), "192.0.2.7");
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
