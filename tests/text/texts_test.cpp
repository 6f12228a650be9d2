#include "text/texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/cp932.h"
#include "text/hex_bytes.h"

namespace pentaro {
namespace {

using testing::hexBytes;

// Spelled out byte by byte: the table must hold CP932, not UTF-8 or another Japanese encoding.
TEST(TextTable, HoldsCp932Bytes) {
  const Texts& t = texts();
  EXPECT_EQ(t.placementDone, hexBytes("94 7A 92 75 8A AE 97 B9"));      // 配置完了
  EXPECT_EQ(t.nextToPlaceFormat, hexBytes("8E 9F 82 CD 81 41 25 64"));  // 次は、%d
  EXPECT_EQ(t.waitingForMatch, hexBytes("91 CE 90 ED 91 D2 82 BF 81 45 81 45 81 45"));
  EXPECT_EQ(t.yourTurn, hexBytes("82 A0 82 C8 82 BD 82 CC 94 D4 82 C5 82 B7"));  // あなたの番です
  EXPECT_EQ(t.opponentsTurn, hexBytes("91 8A 8E E8 82 CC 94 D4 82 C5 82 B7"));  // 相手の番です
  EXPECT_EQ(t.winsSuffix, hexBytes("82 CC 8F 9F 82 BF 82 C5 82 B7"));           // の勝ちです
  EXPECT_EQ(t.draw, hexBytes("88 F8 82 AB 95 AA 82 AF 82 C5 82 B7"));  // 引き分けです
  EXPECT_EQ(t.mapReceived,
            hexBytes("83 7D 83 62 83 76 8E F3 90 4D 8A AE 97 B9"));  // マップ受信完了
  EXPECT_EQ(t.defaultName, hexBytes("96 BC 96 B3 82 B5"));           // 名無し
  EXPECT_EQ(t.placeFromOne,
            hexBytes("31 94 D4 82 A9 82 E7 81 41 8F 87 94 D4 82 C9 94 7A 92 75 82 B5 82 C4 82 AD "
                     "82 BE 82 B3 82 A2"));  // 1番から、順番に配置してください
  EXPECT_EQ(t.chatSeparator, " : ");
  EXPECT_EQ(t.greetingLine.substr(0, 4), "MSG\t");
}

// A character the converter could not take would have turned into "?": no text but the
// provisional name may contain one.
TEST(TextTable, NoTextLostACharacter) {
  const Texts& t = texts();
  // clang-format off
  const std::vector<const std::string*> all = {
      &t.programTitle, &t.ruleText, &t.participantsHeading, &t.serverAddressLabel,
      &t.playerNameLabel, &t.connectButton, &t.beServerButton, &t.challengeButton,
      &t.endMatchButton, &t.spectateButton, &t.chatSendButton, &t.placeManuallyButton,
      &t.autoPlaceRestButton, &t.outOfMemory, &t.notConnected, &t.connecting, &t.connected,
      &t.waitingForMatch, &t.placeFromOne, &t.nextToPlaceFormat, &t.placementDone,
      &t.autoPlacementDone, &t.movesFirst, &t.movesSecond, &t.yourTurn, &t.opponentsTurn,
      &t.youWin, &t.opponentWins, &t.draw, &t.winsSuffix, &t.watching, &t.connectionClosed,
      &t.serverClosed, &t.matchStarted, &t.matchEnded, &t.mapReceived, &t.mapNotReceived,
      &t.pleaseWait, &t.challenging, &t.fetchingMatch, &t.fetchingMaps, &t.challengeNotice,
      &t.busyIgnoring, &t.askChallenge, &t.acceptedChallenge, &t.refusedChallenge, &t.isNowPlaying,
      &t.isPlayingWith, &t.ignoringLateAcceptance, &t.alreadyPlaying, &t.alreadyPlayingWith,
      &t.notInMatch, &t.matchStar, &t.defaultName, &t.greetingLine, &t.arrivalSuffix,
      &t.departureSuffix};
  // clang-format on
  for (const std::string* text : all) {
    EXPECT_FALSE(text->empty());
    EXPECT_EQ(text->find('?'), std::string::npos) << cp932::toUtf8(*text);
  }
  // The question ends in a full-width question mark (81 48), not in an ASCII one.
  EXPECT_EQ(t.askChallenge.substr(t.askChallenge.size() - 2), hexBytes("81 48"));
  EXPECT_EQ(t.provisionalName, "?");
}

TEST(TextTable, ReadsBackAsTheJapaneseTexts) {
  const Texts& t = texts();
  EXPECT_EQ(cp932::toUtf8(t.matchStarted), "ゲームが始まりました");
  EXPECT_EQ(cp932::toUtf8(t.mapNotReceived), "まだ相手の、マップ（配置）を受信していません");
  EXPECT_EQ(cp932::toUtf8(t.ignoringLateAcceptance), "が、無視しちゃいます・・・（汗）");
  EXPECT_EQ(cp932::toUtf8(t.matchStar), " ★ ");
}

}  // namespace
}  // namespace pentaro
