#include "game/match_play.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "text/hex_bytes.h"
#include "text/texts.h"
#include "ui/controls.h"
#include "ui/headless_window.h"

namespace pentaro {
namespace {

using testing::hexBytes;
using Cells = std::array<int, Board::kCells>;
using Lines = std::vector<std::string>;

constexpr int kOwnId = 1, kOpponent = 4, kStranger = 6;

Cells numbered() {
  Cells cells{};
  for (int i = 0; i < Board::kCells; ++i) cells[i] = i + 1;
  return cells;
}

// Rows 0..3 called: the call of 21 makes six lines.
Cells oneCallFromSix() {
  Cells cells = numbered();
  for (int i = 0; i < 20; ++i) cells[i] = -cells[i];
  return cells;
}

Board boardOf(const Cells& cells) {
  Board board;
  for (int i = 0; i < Board::kCells; ++i) board.setCell(cells[i], i % 5, i / 5);
  return board;
}

std::string line(const std::string& text) { return text + "\r\n"; }

class GameMatchPlay : public ::testing::Test {
 protected:
  // The own board is the shuffle of the initial state: 16 14 20 21 24 / 11 8 5 2 12 /
  // 18 25 13 19 17 / 4 9 7 10 23 / 15 1 3 22 6.
  GameMatchPlay() {
    boards.reset();
    match.fields().ownId = kOwnId;
    window.setText(IDC_PLAYER_NAME, "Taro");
    names[kOpponent] = "Hanako";
  }

  // The match has started and the opponent's map has arrived.
  void startWithMap(int movesSecond, const Cells& opponentMap = numbered()) {
    match.startMatch(kOpponent, movesSecond);
    match.onMap(kOpponent, opponentMap);
  }

  Lines chat() const { return window.textHistory(IDC_CHAT_LOG); }
  std::string status() const { return window.fullText(IDC_STATUS); }

  RandomSource random;
  HeadlessWindow window;
  int repaints = 0;
  GameBoards boards{random, [this] { ++repaints; }};
  Lines sent;
  std::map<int, std::string> names;
  bool connected = true;
  MatchPlay match{
      boards, window,
      MatchPlay::Hooks{[this](const std::string& l) { sent.push_back(l); },
                       [this](int id) { return names.count(id) ? names[id] : std::string(); },
                       [this] { return connected; }}};
  const Texts& t = texts();
};

TEST_F(GameMatchPlay, StartMatchMovingFirst) {
  const Board own = boards.own();
  match.startMatch(kOpponent, 0);

  EXPECT_FALSE(window.isEnabled(IDC_CHALLENGE));
  EXPECT_TRUE(window.isEnabled(IDC_END_MATCH));
  EXPECT_FALSE(window.isEnabled(IDC_SPECTATE));
  EXPECT_FALSE(window.isEnabled(IDC_PLACE_MANUALLY));
  EXPECT_FALSE(window.isEnabled(IDC_AUTO_PLACE_REST));
  EXPECT_EQ(match.fields().opponentId, kOpponent);
  EXPECT_EQ(match.fields().turnHolder, kOwnId);
  EXPECT_EQ(window.fullText(IDC_OWN_CAPTION), "Taro");
  EXPECT_EQ(window.fullText(IDC_OPPONENT_CAPTION), "Hanako");
  const std::string first = hexBytes("90 E6 8E E8 82 C5 82 B7");  // 先手です
  EXPECT_EQ(window.fullText(IDC_CHAT_LOG),
            hexBytes("83 51 81 5B 83 80 82 AA 8E 6E 82 DC 82 E8 82 DC 82 B5 82 BD 0D 0A") + first +
                "\r\n");  // ゲームが始まりました
  EXPECT_EQ(status(), first);
  EXPECT_EQ(boards.own(), own);
  EXPECT_FALSE(boards.opponent().isFilled());
  EXPECT_TRUE(sent.empty());
}

TEST_F(GameMatchPlay, StartMatchMovingSecond) {
  match.startMatch(kStranger, 1);  // nobody by that id in the list: empty caption
  EXPECT_EQ(match.fields().turnHolder, kStranger);
  EXPECT_EQ(match.fields().movesSecond, 1);
  EXPECT_EQ(window.fullText(IDC_OPPONENT_CAPTION), "");
  EXPECT_EQ(status(), hexBytes("8C E3 8E E8 82 C5 82 B7"));  // 後手です
  EXPECT_EQ(chat(), (Lines{line(t.matchStarted), line(t.movesSecond)}));
}

TEST_F(GameMatchPlay, OwnCaptionIsTheNameCutAt38Bytes) {
  std::string name = "a";
  for (int i = 0; i < 20; ++i) name += hexBytes("82 A0");
  window.setText(IDC_PLAYER_NAME, name);
  match.startMatch(kOpponent, 0);
  EXPECT_EQ(window.fullText(IDC_OWN_CAPTION), name.substr(0, 37));

  window.setText(IDC_PLAYER_NAME, std::string(50, 'n'));
  match.startMatch(kOpponent, 0);
  EXPECT_EQ(window.fullText(IDC_OWN_CAPTION), std::string(38, 'n'));
}

TEST_F(GameMatchPlay, SendOwnMapSendsTheCellsInIndexOrder) {
  boards.own().mark(8);
  match.sendOwnMap(7);
  EXPECT_EQ(sent,
            (Lines{"SET_E_FL\t7\t16\t14\t20\t21\t24\t11\t-8\t5\t2\t12\t18\t25\t13\t19\t17\t4\t"
                   "9\t7\t10\t23\t15\t1\t3\t22\t6"}));
}

TEST_F(GameMatchPlay, CallsBeforeTheMapArrivedAreRefused) {
  match.startMatch(kOpponent, 0);
  const Board own = boards.own();
  const Lines waiting = {line(t.mapNotReceived), line(t.pleaseWait)};

  match.clickOwnBoard(own.cell(0, 0));
  EXPECT_EQ(chat(), (Lines{line(t.matchStarted), line(t.movesFirst), waiting[0], waiting[1]}));
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(match.fields().turnHolder, kOwnId);
  EXPECT_EQ(boards.own(), own);

  // A received call is dropped the same way.
  match.onPlot(kOpponent, own.cell(1, 0));
  EXPECT_EQ(chat().size(), 6u);
  EXPECT_EQ(chat()[4], waiting[0]);
  EXPECT_EQ(boards.own(), own);
  EXPECT_TRUE(sent.empty());
}

TEST_F(GameMatchPlay, CallsAlternate) {
  startWithMap(0);
  EXPECT_EQ(chat().back(), line(hexBytes("83 7D 83 62 83 76 8E F3 90 4D 8A AE 97 B9")));

  match.clickOwnBoard(7);
  EXPECT_EQ(sent, (Lines{"PLOT\t4\t7"}));
  EXPECT_EQ(status(), hexBytes("91 8A 8E E8 82 CC 94 D4 82 C5 82 B7"));  // 相手の番です
  EXPECT_EQ(match.fields().turnHolder, kOpponent);
  EXPECT_EQ(boards.opponent().cell(1, 1), -7);
  EXPECT_EQ(boards.own().cell(2, 3), -7);

  // Not the player's turn: a click does nothing.
  match.clickOwnBoard(9);
  EXPECT_EQ(sent.size(), 1u);

  match.onPlot(kOpponent, 9);
  EXPECT_EQ(status(), hexBytes("82 A0 82 C8 82 BD 82 CC 94 D4 82 C5 82 B7"));  // あなたの番です
  EXPECT_EQ(match.fields().turnHolder, kOwnId);
  EXPECT_EQ(boards.opponent().cell(3, 1), -9);
  EXPECT_EQ(sent.size(), 1u);
}

TEST_F(GameMatchPlay, CallsMarkBothBoards) {
  startWithMap(0);
  match.clickOwnBoard(16);  // own (0,0)
  EXPECT_EQ(boards.own().cell(0, 0), -16);
  EXPECT_EQ(boards.opponent().cell(0, 3), -16);
  match.onPlot(kOpponent, 6);  // own (4,4)
  EXPECT_EQ(boards.own().cell(4, 4), -6);
  EXPECT_EQ(boards.opponent().cell(0, 1), -6);
}

TEST_F(GameMatchPlay, ClicksThatAreNoCall) {
  startWithMap(0);
  match.clickOwnBoard(0);   // an empty cell
  match.clickOwnBoard(-5);  // a called number
  EXPECT_TRUE(sent.empty());
  match.fields().watchedFirst = 2;
  match.clickOwnBoard(5);
  EXPECT_TRUE(sent.empty());
}

TEST_F(GameMatchPlay, PlotFromTheOpponentDuringOwnTurnCountsAsOwnCall) {
  startWithMap(0);
  match.onPlot(kOpponent, 7);
  EXPECT_EQ(sent, (Lines{"PLOT\t4\t7"}));
  EXPECT_EQ(match.fields().turnHolder, kOpponent);
  EXPECT_EQ(status(), t.opponentsTurn);
}

TEST_F(GameMatchPlay, WinningCallIsStillSent) {
  startWithMap(0);
  boards.own() = boardOf(oneCallFromSix());
  match.clickOwnBoard(21);
  EXPECT_EQ(sent, (Lines{"PLOT\t4\t21"}));
  EXPECT_EQ(status(),
            hexBytes("82 A0 82 C8 82 BD 82 CC 8F 9F 82 BF 82 C5 82 B7"));  // あなたの勝ちです
  EXPECT_TRUE(boards.gameOver());
  EXPECT_EQ(match.fields().turnHolder, kOwnId);

  // Decided: further clicks do nothing.
  match.clickOwnBoard(22);
  EXPECT_EQ(sent.size(), 1u);
  EXPECT_EQ(boards.own().cell(1, 4), 22);
}

TEST_F(GameMatchPlay, OwnCallCanMakeTheOpponentWin) {
  startWithMap(0, oneCallFromSix());
  match.clickOwnBoard(21);
  EXPECT_EQ(sent, (Lines{"PLOT\t4\t21"}));
  EXPECT_EQ(status(), hexBytes("91 8A 8E E8 82 CC 8F 9F 82 BF 82 C5 82 B7"));  // 相手の勝ちです
  EXPECT_TRUE(boards.gameOver());
}

TEST_F(GameMatchPlay, ReceivedDecidingCallKeepsTheTurn) {
  startWithMap(1, oneCallFromSix());
  boards.own() = boardOf(oneCallFromSix());
  match.onPlot(kOpponent, 21);
  EXPECT_EQ(status(), t.draw);
  EXPECT_TRUE(boards.gameOver());
  EXPECT_EQ(match.fields().turnHolder, kOpponent);
  EXPECT_TRUE(sent.empty());
}

TEST_F(GameMatchPlay, LinesFromStrangersChangeNothing) {
  startWithMap(0);
  const Board own = boards.own(), opponent = boards.opponent();
  const Lines chatBefore = chat(), statusBefore = window.textHistory(IDC_STATUS);
  const int repaintsBefore = repaints;

  match.onPlot(kStranger, 7);
  match.onMap(kStranger, oneCallFromSix());
  EXPECT_EQ(boards.own(), own);
  EXPECT_EQ(boards.opponent(), opponent);
  EXPECT_EQ(chat(), chatBefore);
  EXPECT_EQ(window.textHistory(IDC_STATUS), statusBefore);
  EXPECT_EQ(repaints, repaintsBefore);
  EXPECT_TRUE(sent.empty());
}

TEST_F(GameMatchPlay, ReceivedMapValues) {
  match.startMatch(kOpponent, 0);
  match.onMap(kOpponent, numbered());
  Cells second = numbered();
  second[0] = 26;     // refused: the cell keeps its value
  second[1] = 30000;  // refused as well
  second[2] = -3;     // a called 3
  second[3] = 0;
  const int before = repaints;
  match.onMap(kOpponent, second);
  EXPECT_EQ(boards.opponent().cell(0, 0), 1);
  EXPECT_EQ(boards.opponent().cell(1, 0), 2);
  EXPECT_EQ(boards.opponent().cell(2, 0), -3);
  EXPECT_EQ(boards.opponent().cell(3, 0), 0);
  EXPECT_EQ(repaints, before + 1);
  EXPECT_EQ(chat().back(), line(t.mapReceived));
}

class GameMatchWatching : public GameMatchPlay {
 protected:
  GameMatchWatching() {
    match.fields().watchedFirst = 2;
    match.fields().watchedSecond = 3;
    window.setText(IDC_OWN_CAPTION, "Ichiro");
    window.setText(IDC_OPPONENT_CAPTION, "Jiro");
  }
};

TEST_F(GameMatchWatching, MapsGoToTheWatchedPlayersSides) {
  match.onMap(2, oneCallFromSix());
  match.onMap(3, numbered());
  EXPECT_EQ(boards.own(), boardOf(oneCallFromSix()));
  EXPECT_EQ(boards.opponent(), boardOf(numbered()));

  // A third player's map writes no cell, but is still reported and repainted.
  const int before = repaints;
  const size_t lines = chat().size();
  Cells other{};
  other.fill(9);
  match.onMap(kStranger, other);
  EXPECT_EQ(boards.own(), boardOf(oneCallFromSix()));
  EXPECT_EQ(boards.opponent(), boardOf(numbered()));
  EXPECT_EQ(chat().size(), lines + 1);
  EXPECT_EQ(chat().back(), line(t.mapReceived));
  EXPECT_EQ(repaints, before + 1);
}

TEST_F(GameMatchWatching, CallsOfTheWatchedPlayersShowTheWinnersName) {
  match.onMap(2, oneCallFromSix());
  match.onMap(3, numbered());
  match.onPlot(kStranger, 21);  // not watched: ignored
  EXPECT_EQ(boards.own().cell(0, 4), 21);

  match.onPlot(3, 21);
  EXPECT_EQ(boards.own().cell(0, 4), -21);
  EXPECT_EQ(status(), "Ichiro" + hexBytes("82 CC 8F 9F 82 BF 82 C5 82 B7"));  // の勝ちです
  EXPECT_FALSE(boards.gameOver());
  EXPECT_EQ(match.fields().turnHolder, MatchFields::kNone);
  EXPECT_TRUE(sent.empty());

  match.onMap(2, numbered());
  match.onMap(3, oneCallFromSix());
  match.onPlot(2, 21);
  EXPECT_EQ(status(), "Jiro" + t.winsSuffix);
  EXPECT_FALSE(boards.gameOver());
  EXPECT_TRUE(sent.empty());
}

TEST_F(GameMatchWatching, WinnersNameIsCutAt39Bytes) {
  std::string name = "a";
  for (int i = 0; i < 20; ++i) name += hexBytes("82 A0");
  window.setText(IDC_OWN_CAPTION, name);
  match.onMap(2, oneCallFromSix());
  match.onMap(3, numbered());
  match.onPlot(2, 21);
  EXPECT_EQ(status(), name.substr(0, 39) + t.winsSuffix);
}

TEST_F(GameMatchWatching, DrawInTheWatchersView) {
  match.onMap(2, oneCallFromSix());
  match.onMap(3, oneCallFromSix());
  match.onPlot(2, 21);
  EXPECT_EQ(status(), t.draw);
  EXPECT_FALSE(boards.gameOver());
}

TEST_F(GameMatchPlay, EndMatchByTheButton) {
  startWithMap(0);
  match.clickOwnBoard(3);
  const std::uint32_t state = random.state();
  sent.clear();
  match.endMatch(true);

  EXPECT_EQ(sent, (Lines{"END_VS\t4"}));
  EXPECT_EQ(match.fields().opponentId, MatchFields::kNone);
  EXPECT_TRUE(window.isEnabled(IDC_CHALLENGE));
  EXPECT_FALSE(window.isEnabled(IDC_END_MATCH));
  EXPECT_TRUE(window.isEnabled(IDC_SPECTATE));
  EXPECT_TRUE(window.isEnabled(IDC_PLACE_MANUALLY));
  EXPECT_TRUE(window.isEnabled(IDC_AUTO_PLACE_REST));
  EXPECT_EQ(window.fullText(IDC_OWN_CAPTION), "");
  EXPECT_EQ(window.fullText(IDC_OPPONENT_CAPTION), "");
  EXPECT_EQ(chat().back(),
            line(hexBytes("83 51 81 5B 83 80 82 AA 8F 49 82 ED 82 E8 82 DC 82 B5 82 BD")));
  EXPECT_EQ(status(), hexBytes("91 CE 90 ED 91 D2 82 BF 81 45 81 45 81 45"));  // 対戦待ち・・・

  // A newly shuffled own board, an empty opponent board, nothing decided.
  RandomSource sameDraws;
  sameDraws.setState(state);
  GameBoards expected(sameDraws, [] {});
  expected.reset();
  EXPECT_EQ(boards.own(), expected.own());
  EXPECT_EQ(boards.opponent(), Board());
  EXPECT_FALSE(boards.gameOver());
}

TEST_F(GameMatchPlay, EndVsFromTheOpponentIsNotAnswered) {
  startWithMap(0);
  match.onEndMatch(kOpponent);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(match.fields().opponentId, MatchFields::kNone);
  EXPECT_EQ(chat().back(), line(t.matchEnded));
}

TEST_F(GameMatchPlay, EndVsFromSomebodyElseEndsTheOwnMatch) {
  startWithMap(0);
  match.onEndMatch(kStranger);
  EXPECT_EQ(sent, (Lines{"END_VS\t4"}));
  EXPECT_EQ(match.fields().opponentId, MatchFields::kNone);
}

TEST_F(GameMatchPlay, EndVsWhileIdleStillResets) {
  boards.beginManualPlacement();
  boards.placeNext(0, 0);
  match.onEndMatch(3);
  EXPECT_EQ(sent, (Lines{"END_VS\t-1"}));
  EXPECT_EQ(boards.nextToPlace(), GameBoards::kNoPlacement);
  for (int i = 0; i < Board::kCells; ++i) EXPECT_NE(boards.own().cellAt(i), 0);
  EXPECT_EQ(chat().back(), line(t.matchEnded));
}

TEST_F(GameMatchPlay, ResetShowsTheWaitingTextOnlyWhileConnected) {
  connected = false;
  match.fields().watchedFirst = 2;
  match.fields().watchedSecond = 3;
  window.setText(IDC_OWN_CAPTION, "x");
  window.setText(IDC_OPPONENT_CAPTION, "y");
  window.setText(IDC_STATUS, t.notConnected);
  const Lines statusBefore = window.textHistory(IDC_STATUS);
  int before = repaints;
  match.resetBoards();
  EXPECT_EQ(window.textHistory(IDC_STATUS), statusBefore);
  EXPECT_EQ(match.fields().watchedFirst, MatchFields::kNone);
  EXPECT_EQ(match.fields().watchedSecond, MatchFields::kNone);
  EXPECT_EQ(window.fullText(IDC_OWN_CAPTION), "");
  EXPECT_EQ(window.fullText(IDC_OPPONENT_CAPTION), "");
  EXPECT_GT(repaints, before);

  connected = true;
  before = repaints;
  boards.reset();  // every reset, not only the one through match play
  EXPECT_EQ(status(), t.waitingForMatch);
  EXPECT_GT(repaints, before);
}

}  // namespace
}  // namespace pentaro
