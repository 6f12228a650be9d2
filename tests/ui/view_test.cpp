// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>

#include "support/hex_bytes.h"
#include "text/cp932.h"
#include "ui/chat_log.h"
#include "ui/control_states.h"
#include "ui/headless_view.h"
#include "ui/view_texts.h"

namespace pentaro {
namespace {

using testing::hexBytes;

TEST(UiChatLog, AddsLinesWithCrLfAndStartsAgainAt32000Bytes) {
  ChatLog log;
  EXPECT_FALSE(log.add("first"));
  log.add("");
  EXPECT_EQ(log.text(), "first\r\n\r\n");

  ChatLog nearlyFull;
  nearlyFull.add(std::string(31997, 'x'));  // 31999 bytes with its CR LF
  EXPECT_FALSE(nearlyFull.add("line"));     // below the limit: added, the log passes it
  EXPECT_EQ(nearlyFull.text().size(), 31999u + 6);
  EXPECT_TRUE(nearlyFull.add("fresh"));  // the whole log is replaced...
  nearlyFull.add("more");                // ...and grows again from there
  EXPECT_EQ(nearlyFull.text(), "fresh\r\nmore\r\n");
}

TEST(UiControlStates, OneToggleDownDisablesTheOtherAndTheFields) {
  const ConnectionControls idle = connectionControls(ConnectionState::kIdle);
  EXPECT_TRUE(idle.connectEnabled && idle.hostEnabled && idle.fieldsEnabled);
  EXPECT_FALSE(idle.connectPressed || idle.hostPressed);
  for (ConnectionState s : {ConnectionState::kConnecting, ConnectionState::kConnected}) {
    const ConnectionControls c = connectionControls(s);
    EXPECT_TRUE(c.connectPressed && c.connectEnabled);
    EXPECT_FALSE(c.hostPressed || c.hostEnabled || c.fieldsEnabled);
  }
  const ConnectionControls hosting = connectionControls(ConnectionState::kHosting);
  EXPECT_TRUE(hosting.hostPressed && hosting.hostEnabled);
  EXPECT_FALSE(hosting.connectPressed || hosting.connectEnabled || hosting.fieldsEnabled);

  EXPECT_FALSE(matchControls(MatchState::kPlaying).idleEnabled);
  EXPECT_TRUE(matchControls(MatchState::kPlaying).endEnabled);
  EXPECT_TRUE(matchControls(MatchState::kWatching).idleEnabled);
  EXPECT_FALSE(matchControls(MatchState::kNone).endEnabled);
}

// The words are the system's own, byte for byte in CP932, with what the events carry in place.
TEST(UiViewTexts, EventsBecomeTheProgramsJapaneseTexts) {
  Status next{Status::Kind::kNextToPlace, 7, {}};
  EXPECT_EQ(cp932::toUtf8(statusText(next)), "次は、7");
  Status won{Status::Kind::kPlayerWins, 0, cp932::fromUtf8("たろう")};
  EXPECT_EQ(cp932::toUtf8(statusText(won)), "たろうの勝ちです");

  const std::string wins = hexBytes("82 CC 8F 9F 82 BF 82 C5 82 B7");  // の勝ちです
  EXPECT_EQ(statusText(Status{Status::Kind::kYouWin, 0, {}}), hexBytes("82 A0 82 C8 82 BD") + wins);
  EXPECT_EQ(statusText(Status{Status::Kind::kOpponentWins, 0, {}}), hexBytes("91 8A 8E E8") + wins);
  EXPECT_EQ(statusText(Status{Status::Kind::kDraw, 0, {}}),
            hexBytes("88 F8 82 AB 95 AA 82 AF 82 C5 82 B7"));  // 引き分けです
  EXPECT_EQ(statusText(Status{Status::Kind::kPlacementDone, 0, {}}),
            hexBytes("94 7A 92 75 8A AE 97 B9"));  // 配置完了

  Notice failed{Notice::Kind::kConnectFailed, std::string(78, 'a'), {}, 0};
  EXPECT_NE(noticeText(failed).find(std::string(78, 'a')), std::string::npos);
  // A translation may make a format long: nothing of it is cut.
  EXPECT_EQ(formatNumber(std::string(200, 'x') + "%d", -2147483647 - 1),
            std::string(200, 'x') + "-2147483648");
  Notice port{Notice::Kind::kHostingFailed, {}, {}, 1230};
  EXPECT_NE(noticeText(port).find("1230"), std::string::npos);
  Notice busy{Notice::Kind::kNowPlaying, "A", "B", 0};
  const std::string text = noticeText(busy);
  EXPECT_EQ(text.find('A'), 0u);
  EXPECT_NE(text.find('B'), std::string::npos);
  EXPECT_EQ(chatText("A", "hi"), "A : hi");
  EXPECT_EQ(hexBytes("96 BC 96 B3 82 B5"), cp932::fromUtf8("名無し"));
}

TEST(UiHeadlessView, TheSelectionStaysWithItsParticipant) {
  HeadlessView view;
  view.participantInserted(0, "a", 1);
  view.participantInserted(1, "c", 3);
  view.select(1);
  view.participantInserted(1, "b", 2);  // above the selection: it moves down with its line
  EXPECT_EQ(view.selectedId(), 3);
  view.participantRebuilt(2, 0, "0 c", 3);  // the selected line sorts to the top: it goes along
  EXPECT_EQ(view.selection(), 0);
  EXPECT_EQ(view.selectedId(), 3);
  view.participantRebuilt(1, 0, "+a", 1);  // another line passes the selection
  EXPECT_EQ(view.selection(), 1);
  EXPECT_EQ(view.selectedId(), 3);
  view.participantRemoved(1);  // the selected line goes: nothing is selected
  EXPECT_EQ(view.selectedId(), -1);
}

}  // namespace
}  // namespace pentaro
