// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "client/match_session.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "support/hex_bytes.h"
#include "text/texts.h"
#include "ui/headless_view.h"

namespace pentaro {
namespace {

using testing::hexBytes;
using Cells = std::array<int, Board::kCells>;
using Lines = std::vector<std::string>;

constexpr int kOwnId = 1, kOpponent = 4, kStranger = 6;

// 1..25 row by row; with `rowsCalled`, rows 0..3 are called and the call of 21 makes six lines.
Cells numbered(bool rowsCalled = false) {
  Cells cells{};
  for (int i = 0; i < Board::kCells; ++i) cells[i] = rowsCalled && i < 20 ? -(i + 1) : i + 1;
  return cells;
}

Board boardOf(const Cells& cells) {
  Board board;
  for (int i = 0; i < Board::kCells; ++i) board.setCell(cells[i], i % 5, i / 5);
  return board;
}

std::string line(const std::string& text) { return text + "\r\n"; }

class ClientMatchSession : public ::testing::Test {
 protected:
  // The own board is the shuffle of the initial state: 16 14 20 21 24 / 11 8 5 2 12 /
  // 18 25 13 19 17 / 4 9 7 10 23 / 15 1 3 22 6.
  ClientMatchSession() {
    boards.reset();
    match.model().setOwnId(kOwnId);
  }

  void startWithMap(int movesSecond, const Cells& opponentMap = numbered()) {
    match.startMatch(kOpponent, movesSecond);
    match.onMap(kOpponent, opponentMap);
  }
  Lines chat() const { return view.chatHistory(); }
  std::string status() const { return view.status(); }

  RandomSource random;
  HeadlessView view;
  std::string ownName = "Taro";
  std::map<int, std::string> names{{kOpponent, "Hanako"}, {2, "Ichiro"}, {3, "Jiro"}};
  int repaints = 0;
  GameBoards boards{random, [this] { ++repaints; }};
  Lines sent;
  bool connected = true;
  MatchSession match{boards, view,
                     MatchSession::Hooks{[this](const std::string& l) { sent.push_back(l); },
                                         [this](int id) { return names[id]; },
                                         [this] { return connected; }, [this] { return ownName; }}};
  const Texts& t = texts();
};

TEST_F(ClientMatchSession, StartMatch) {
  const Board own = boards.own();
  match.startMatch(kOpponent, 0);
  EXPECT_EQ(view.match(), MatchState::kPlaying);
  EXPECT_EQ(match.fields().turnHolder, kOwnId);
  EXPECT_EQ(view.leftCaption(), "Taro");
  EXPECT_EQ(view.rightCaption(), "Hanako");
  const std::string first = hexBytes("90 E6 8E E8 82 C5 82 B7");  // 先手です
  EXPECT_EQ(chat(), (Lines{line(hexBytes("83 51 81 5B 83 80 82 AA 8E 6E 82 DC 82 E8 82 DC 82 B5 "
                                         "82 BD")),  // ゲームが始まりました
                           line(first)}));
  EXPECT_EQ(status(), first);
  EXPECT_EQ(boards.own(), own);
  EXPECT_TRUE(sent.empty());

  match.startMatch(kStranger, 1);  // nobody of that id in the list: empty caption
  EXPECT_EQ(match.fields().turnHolder, kStranger);
  EXPECT_EQ(view.rightCaption(), "");
  EXPECT_EQ(status(), hexBytes("8C E3 8E E8 82 C5 82 B7"));  // 後手です
  EXPECT_EQ(chat().back(), line(t.movesSecond));
}

TEST_F(ClientMatchSession, OwnCaptionIsTheNameCutAt38Bytes) {
  std::string name = "a";
  for (int i = 0; i < 20; ++i) name += hexBytes("82 A0");
  ownName = name;
  match.startMatch(kOpponent, 0);
  EXPECT_EQ(view.leftCaption(), name.substr(0, 37));
}

TEST_F(ClientMatchSession, SendOwnMap) {
  boards.own().mark(8);
  match.sendOwnMap(7);
  EXPECT_EQ(sent,
            (Lines{"SET_E_FL\t7\t16\t14\t20\t21\t24\t11\t-8\t5\t2\t12\t18\t25\t13\t19\t17\t4\t"
                   "9\t7\t10\t23\t15\t1\t3\t22\t6"}));
}

TEST_F(ClientMatchSession, CallsBeforeTheMapArrivedAreRefused) {
  match.startMatch(kOpponent, 0);
  const Board own = boards.own();
  match.clickOwnBoard(16);
  match.onPlot(kOpponent, 14);
  const Lines waiting = {line(t.mapNotReceived), line(t.pleaseWait)};
  EXPECT_EQ(chat(), (Lines{line(t.matchStarted), line(t.movesFirst), waiting[0], waiting[1],
                           waiting[0], waiting[1]}));
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(match.fields().turnHolder, kOwnId);
  EXPECT_EQ(boards.own(), own);
}

TEST_F(ClientMatchSession, CallsAlternate) {
  startWithMap(0);
  EXPECT_EQ(chat().back(), line(hexBytes("83 7D 83 62 83 76 8E F3 90 4D 8A AE 97 B9")));

  EXPECT_EQ(view.attentionRequests(), 1);  // the first move is the player's
  match.clickOwnBoard(7);
  EXPECT_EQ(sent, (Lines{"PLOT\t4\t7"}));
  EXPECT_EQ(status(), hexBytes("91 8A 8E E8 82 CC 94 D4 82 C5 82 B7"));  // 相手の番です
  EXPECT_EQ(match.fields().turnHolder, kOpponent);
  EXPECT_EQ(boards.own().cell(2, 3), -7);
  EXPECT_EQ(boards.opponent().cell(1, 1), -7);

  match.clickOwnBoard(9);  // not the player's turn
  EXPECT_EQ(sent.size(), 1u);

  match.onPlot(kOpponent, 9);
  EXPECT_EQ(status(), hexBytes("82 A0 82 C8 82 BD 82 CC 94 D4 82 C5 82 B7"));  // あなたの番です
  EXPECT_EQ(view.attentionRequests(), 2);
  EXPECT_EQ(match.fields().turnHolder, kOwnId);
  EXPECT_EQ(boards.own().cell(1, 3), -9);
  EXPECT_EQ(sent.size(), 1u);

  // Empty and called cells are no calls; a call from the opponent in the player's turn counts
  // as the player's own and is sent back.
  match.clickOwnBoard(0);
  match.clickOwnBoard(-7);
  EXPECT_EQ(sent.size(), 1u);
  match.onPlot(kOpponent, 5);
  EXPECT_EQ(sent.back(), "PLOT\t4\t5");
  EXPECT_EQ(match.fields().turnHolder, kOpponent);
}

TEST_F(ClientMatchSession, WinningCallIsStillSent) {
  startWithMap(0);
  boards.own() = boardOf(numbered(true));
  match.clickOwnBoard(21);
  EXPECT_EQ(sent, (Lines{"PLOT\t4\t21"}));
  EXPECT_EQ(status(), hexBytes("82 A0 82 C8 82 BD 82 CC 8F 9F 82 BF 82 C5 82 B7"));
  EXPECT_TRUE(boards.gameOver());
  EXPECT_EQ(match.fields().turnHolder, kOwnId);
  match.clickOwnBoard(22);  // decided: clicks do nothing
  EXPECT_EQ(sent.size(), 1u);
}

TEST_F(ClientMatchSession, OwnCallCanMakeTheOpponentWin) {
  startWithMap(0, numbered(true));
  match.clickOwnBoard(21);
  EXPECT_EQ(sent, (Lines{"PLOT\t4\t21"}));
  EXPECT_EQ(status(), hexBytes("91 8A 8E E8 82 CC 8F 9F 82 BF 82 C5 82 B7"));  // 相手の勝ちです
  EXPECT_TRUE(boards.gameOver());
}

TEST_F(ClientMatchSession, LinesFromStrangersChangeNothing) {
  startWithMap(0);
  const Board own = boards.own(), opponent = boards.opponent();
  const Lines chatBefore = chat(), statusBefore = view.statusHistory();
  const int repaintsBefore = repaints;
  match.onPlot(kStranger, 7);
  match.onMap(kStranger, numbered(true));
  EXPECT_EQ(boards.own(), own);
  EXPECT_EQ(boards.opponent(), opponent);
  EXPECT_EQ(chat(), chatBefore);
  EXPECT_EQ(view.statusHistory(), statusBefore);
  EXPECT_EQ(repaints, repaintsBefore);
  EXPECT_TRUE(sent.empty());
}

TEST_F(ClientMatchSession, ReceivedMapValues) {
  startWithMap(0);
  Cells called = numbered();
  called[2] = -3;  // a called 3
  match.onMap(kOpponent, called);
  EXPECT_EQ(boards.opponent(), boardOf(called));

  // A map is taken whole or not at all: every number 1..25 once, called or not.
  const int before = repaints;
  const std::size_t lines = chat().size();
  for (const int bad : {26, 30000, -26, 0, 2}) {
    Cells second = numbered();
    second[0] = bad;
    match.onMap(kOpponent, second);
    EXPECT_EQ(boards.opponent(), boardOf(called)) << bad;
  }
  match.onMap(kOpponent,
              Cells{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
  EXPECT_EQ(boards.opponent(), boardOf(called));
  EXPECT_EQ(repaints, before);
  EXPECT_EQ(chat().size(), lines);
}

class ClientMatchWatching : public ClientMatchSession {
 protected:
  ClientMatchWatching() { match.beginWatching(2, 3); }
};

TEST_F(ClientMatchWatching, MapsGoToTheWatchedPlayersSides) {
  match.onMap(2, numbered(true));
  match.onMap(3, numbered());
  EXPECT_EQ(boards.own(), boardOf(numbered(true)));
  EXPECT_EQ(boards.opponent(), boardOf(numbered()));

  // A third player's map writes no cell, but is still reported and repainted.
  const int before = repaints;
  const std::size_t lines = chat().size();
  match.onMap(kStranger, Cells{25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13,
                               12, 11, 10, 9,  8,  7,  6,  5,  4,  3,  2,  1});
  EXPECT_EQ(boards.own(), boardOf(numbered(true)));
  EXPECT_EQ(boards.opponent(), boardOf(numbered()));
  EXPECT_EQ(chat().size(), lines + 1);
  EXPECT_EQ(chat().back(), line(t.mapReceived));
  EXPECT_EQ(repaints, before + 1);
}

TEST_F(ClientMatchWatching, CallsShowTheWinnersName) {
  match.onMap(2, numbered(true));
  match.onMap(3, numbered());
  match.onPlot(kStranger, 21);  // not watched: ignored
  EXPECT_EQ(boards.own().cell(0, 4), 21);
  match.onPlot(3, 21);
  EXPECT_EQ(status(), "Ichiro" + hexBytes("82 CC 8F 9F 82 BF 82 C5 82 B7"));  // の勝ちです
  EXPECT_FALSE(boards.gameOver());
  EXPECT_EQ(match.fields().turnHolder, MatchFields::kNone);

  std::string name = "a";  // the winner's name is read with 39 bytes
  for (int i = 0; i < 20; ++i) name += hexBytes("82 A0");
  names[3] = name;
  match.beginWatching(2, 3);
  match.onMap(2, numbered());
  match.onMap(3, numbered(true));
  match.onPlot(2, 21);
  EXPECT_EQ(status(), name.substr(0, 39) + t.winsSuffix);

  match.onMap(2, numbered(true));
  match.onMap(3, numbered(true));
  match.onPlot(2, 21);
  EXPECT_EQ(status(), t.draw);
  EXPECT_FALSE(boards.gameOver());
  EXPECT_TRUE(sent.empty());
}

TEST_F(ClientMatchSession, EndMatch) {
  startWithMap(0);
  match.clickOwnBoard(3);
  RandomSource sameDraws;
  sameDraws.setState(random.state());
  sent.clear();
  match.endMatch(true);

  EXPECT_EQ(sent, (Lines{"END_VS\t4"}));
  EXPECT_EQ(match.fields().opponentId, MatchFields::kNone);
  EXPECT_EQ(view.match(), MatchState::kNone);
  EXPECT_EQ(view.leftCaption(), "");
  EXPECT_EQ(view.rightCaption(), "");
  EXPECT_EQ(chat().back(),
            line(hexBytes("83 51 81 5B 83 80 82 AA 8F 49 82 ED 82 E8 82 DC 82 B5 82 BD")));
  EXPECT_EQ(status(), hexBytes("91 CE 90 ED 91 D2 82 BF 81 45 81 45 81 45"));  // 対戦待ち・・・
  // A newly shuffled own board, an empty opponent board, nothing decided.
  GameBoards expected(sameDraws, [] {});
  expected.reset();
  EXPECT_EQ(boards.own(), expected.own());
  EXPECT_EQ(boards.opponent(), Board());
  EXPECT_FALSE(boards.gameOver());
}

TEST_F(ClientMatchSession, ReceivedEndVs) {
  startWithMap(0);
  match.onEndMatch(kOpponent);  // the opponent ended it: no answer
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(match.fields().opponentId, MatchFields::kNone);

  // Anybody else's END_VS is ignored: it neither ends the own match nor, while idle, touches a
  // placement by hand or the log.
  startWithMap(0);
  match.onEndMatch(kStranger);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(match.fields().opponentId, kOpponent);
  match.endMatch(false);
  boards.beginManualPlacement();
  boards.placeNext(0, 0);
  const Lines chatBefore = chat();
  match.onEndMatch(3);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(boards.nextToPlace(), 2);
  EXPECT_EQ(chat(), chatBefore);
}

TEST_F(ClientMatchSession, AnOpponentWhoLeavesEndsTheMatchAtOnceWithoutALineToIt) {
  startWithMap(0);
  match.onPlayerLeft(kStranger, "Saburo");
  EXPECT_EQ(match.fields().opponentId, kOpponent);
  match.onPlayerLeft(kOpponent, "Hanako");
  EXPECT_EQ(match.fields().opponentId, MatchFields::kNone);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(chat()[chat().size() - 2], line("Hanako" + t.opponentLeftSuffix));
  EXPECT_EQ(view.match(), MatchState::kNone);
}

TEST_F(ClientMatchSession, ResetShowsTheWaitingTextOnlyWhileConnected) {
  connected = false;
  match.beginWatching(2, 3);
  const std::size_t statusChanges = view.statusHistory().size();
  int before = repaints;
  match.resetBoards();
  EXPECT_EQ(view.statusHistory().size(), statusChanges);
  EXPECT_EQ(match.fields().watchedFirst, MatchFields::kNone);
  EXPECT_EQ(view.leftCaption(), "");
  EXPECT_EQ(view.rightCaption(), "");
  EXPECT_GT(repaints, before);

  connected = true;
  boards.reset();  // every reset, not only the one through match play
  EXPECT_EQ(status(), t.waitingForMatch);
}

}  // namespace
}  // namespace pentaro
