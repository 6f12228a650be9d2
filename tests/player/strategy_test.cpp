// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The strategies against each other through self-play, and what a strategy may see.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "player/greedy_strategy.h"
#include "player/player_view.h"
#include "player/self_play.h"
#include "player/strong_strategy.h"

namespace pentaro {
namespace {

Board boardOf(const Placement& numbers, const std::set<int>& called = {}) {
  Board board;
  for (int i = 0; i < Board::kCells; ++i) {
    const int n = numbers[i];
    board.setCell(called.count(n) ? -n : n, i % Board::kSide, i / Board::kSide);
  }
  return board;
}

Placement inOrder() {
  Placement p{};
  for (int i = 0; i < Board::kCells; ++i) p[i] = i + 1;
  return p;
}

std::set<int> numbersOfRow(const Placement& board, int row) {
  std::set<int> numbers;
  for (int column = 0; column < Board::kSide; ++column) numbers.insert(board[column + 5 * row]);
  return numbers;
}

struct Pairing {
  Level a;
  Level b;
};

class SelfPlayPairings : public ::testing::TestWithParam<Pairing> {};

// Over many seeds every call is an uncalled number of the caller's board, every match ends with
// a decision both sides agree on, and the first move alternates fairly.
TEST_P(SelfPlayPairings, EveryMatchEndsWithLegalCallsAndOneAgreedResult) {
  constexpr int kMatches = 60;
  for (std::uint32_t seed : {1u, 2u, 77u, 0xdeadbeefu, 0u}) {
    const SelfPlayTally t = SelfPlay(GetParam().a, GetParam().b, seed).run(kMatches);
    EXPECT_EQ(t.illegalCalls, 0) << seed;
    EXPECT_EQ(t.unfinished, 0) << seed;
    EXPECT_EQ(t.disagreements, 0) << seed;
    EXPECT_EQ(t.a.wins + t.a.losses + t.a.draws, kMatches) << seed;
    EXPECT_EQ(t.a.wins, t.b.losses) << seed;
    EXPECT_EQ(t.a.draws, t.b.draws) << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(Strengths, SelfPlayPairings,
                         ::testing::Values(Pairing{Level::kStrong, Level::kStrong},
                                           Pairing{Level::kStrong, Level::kNormal},
                                           Pairing{Level::kStrong, Level::kWeak},
                                           Pairing{Level::kNormal, Level::kWeak}));

TEST(SelfPlay, IsRepeatableForASeed) {
  const SelfPlayTally first = SelfPlay(Level::kStrong, Level::kNormal, 42).run(200);
  EXPECT_EQ(first, SelfPlay(Level::kStrong, Level::kNormal, 42).run(200));
  EXPECT_NE(first, SelfPlay(Level::kStrong, Level::kNormal, 43).run(200));
}

TEST(SelfPlay, StrongBeatsTheOthers) {
  const SelfPlayTally greedy = SelfPlay(Level::kStrong, Level::kNormal, 7).run(400);
  EXPECT_GT(greedy.a.wins, 2 * greedy.a.losses);
  const SelfPlayTally random = SelfPlay(Level::kStrong, Level::kWeak, 7).run(400);
  EXPECT_GT(random.a.wins, 10 * random.a.losses);
}

// The view carries the cells of the opponent's completed lines and nothing else of its map.
TEST(PlayerView, ShowsOnlyTheOpponentsCompletedLines) {
  const Placement theirs = {7, 3,  25, 1,  9,  14, 2,  20, 11, 5,  18, 4, 22,
                            6, 13, 24, 10, 15, 12, 16, 8,  19, 23, 17, 21};
  const Board own = boardOf(inOrder(), numbersOfRow(theirs, 1));
  // Row 1 complete; a single mark elsewhere stays hidden.
  std::set<int> called = numbersOfRow(theirs, 1);
  called.insert(25);
  const PlayerView view = PlayerView::of(own, boardOf(theirs, called));
  EXPECT_EQ(view.shownOpponentCount(), Board::kSide);
  for (int i = 0; i < Board::kCells; ++i) {
    EXPECT_EQ(view.shownOpponent()[i], i / Board::kSide == 1 ? theirs[i] : 0) << i;
  }
  // Two maps that differ only off the completed lines give the same view.
  Placement other = theirs;
  std::swap(other[0], other[24]);
  EXPECT_EQ(PlayerView::of(own, boardOf(other, called)).shownOpponent(), view.shownOpponent());
  EXPECT_EQ(PlayerView::of(own, Board{}).shownOpponentCount(), 0);
}

// Whenever some call completes the fifth own line, greedy and strong make such a call.
TEST(Strategies, TakeTheFifthLineWhenItIsThere) {
  std::mt19937 positions(5);
  int checked = 0;
  for (int round = 0; round < 400; ++round) {
    Placement numbers = inOrder();
    std::shuffle(numbers.begin(), numbers.end(), positions);
    Placement order = numbers;
    std::shuffle(order.begin(), order.end(), positions);
    const std::set<int> called(order.begin(), order.begin() + 14 + round % 8);
    const PlayerView view(boardOf(numbers, called), {});
    if (completedLines(view.ownMarked()) >= Board::kLinesToWin) continue;
    auto wins = [&view](int number) {
      const int index = view.indexOf(number);
      return completedLines(view.ownMarked() | CellMask{1} << index) >= Board::kLinesToWin;
    };
    bool winnable = false;
    for (int n = 1; n <= 25; ++n) winnable = winnable || (!view.isCalled(n) && wins(n));
    if (!winnable) continue;
    ++checked;
    EXPECT_TRUE(wins(StrongStrategy(round).chooseCall(view))) << round;
    EXPECT_TRUE(wins(GreedyStrategy(round).chooseCall(view))) << round;
  }
  EXPECT_GT(checked, 20);
}

// The opponent's shown lines (rows 0..2 and column 0) follow the order 1, 2, 3, ... by rows.
// Read that way, of the open numbers 17, 19, 20 and 23 each give it a fifth line; only 18 does
// not. On the own board 23 sits in the centre, the best cell, and no call wins.
TEST(StrongStrategy, DoesNotGiveAReadableOpponentItsFifthLine) {
  const std::set<int> called = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                11, 12, 13, 14, 15, 16, 21, 22, 24, 25};
  const Placement own = {17, 1,  2,  3,  4,  5,  18, 6,  7,  8,  9,  10, 23,
                         11, 12, 13, 14, 15, 19, 16, 21, 22, 24, 25, 20};
  const PlayerView view = PlayerView::of(boardOf(own, called), boardOf(inOrder(), called));
  ASSERT_EQ(view.shownOpponentCount(), 17);
  ASSERT_TRUE(StrongStrategy::readOpponentOrder(view.shownOpponent()));
  for (std::uint32_t seed = 0; seed < 20; ++seed) {
    EXPECT_EQ(StrongStrategy(seed).chooseCall(view), 18) << seed;
  }
  // Without a readable order it goes for its own best cell.
  EXPECT_EQ(StrongStrategy(1).chooseCall(PlayerView(boardOf(own, called), {})), 23);
}

TEST(StrongStrategy, ReadsNoOrderFromAShuffledBoard) {
  PlayerView::ShownCells shown{};
  for (int i = 5; i < 10; ++i) shown[i] = i + 1;  // row 1 of the plain order
  EXPECT_TRUE(StrongStrategy::readOpponentOrder(shown));
  shown[7] = 20;
  EXPECT_FALSE(StrongStrategy::readOpponentOrder(shown));
  EXPECT_FALSE(StrongStrategy::readOpponentOrder(PlayerView::ShownCells{}));
}

TEST(Strategies, PlacementsHoldEveryNumberOnce) {
  for (Level level : {Level::kWeak, Level::kNormal, Level::kStrong}) {
    const Placement p = makeStrategy(level, 9)->choosePlacement();
    EXPECT_EQ(std::set<int>(p.begin(), p.end()).size(), 25u);
    EXPECT_EQ(*std::min_element(p.begin(), p.end()), 1);
    EXPECT_EQ(*std::max_element(p.begin(), p.end()), 25);
  }
}

}  // namespace
}  // namespace pentaro
