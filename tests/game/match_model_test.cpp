// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/match_model.h"

#include <gtest/gtest.h>

#include <array>

namespace pentaro {
namespace {

using Cells = std::array<int, Board::kCells>;

Cells cellsOf(const Board& board) {
  Cells cells{};
  for (int i = 0; i < Board::kCells; ++i) cells[i] = board.cellAt(i);
  return cells;
}

// One side of a match without any window or line: its own random source, boards and model.
struct Side {
  Side(int id, std::uint32_t seed) {
    random.setState(seed);
    boards.reset();
    model.setOwnId(id);
  }
  RandomSource random;
  GameBoards boards{random, [] {}};
  MatchModel model{boards};
};

// The first uncalled number on the caller's own board, read row by row.
int firstUncalled(const Board& own) {
  for (int i = 0; i < Board::kCells; ++i) {
    if (own.cellAt(i) > 0) return own.cellAt(i);
  }
  return 0;
}

TEST(GameMatchModel, TwoModelsPlayAWholeMatchAndAgreeOnItsDecision) {
  Side a(0, 11), b(1, 22);
  a.model.start(1, 0);
  b.model.start(0, 1);
  EXPECT_EQ(a.model.callOwn(firstUncalled(a.boards.own())).kind, CallOutcome::Kind::kMapMissing);
  ASSERT_TRUE(a.model.receiveMap(1, cellsOf(b.boards.own())));
  ASSERT_TRUE(b.model.receiveMap(0, cellsOf(a.boards.own())));
  EXPECT_FALSE(b.model.mayCallOwn(firstUncalled(b.boards.own())));  // not b's turn

  int calls = 0;
  CallOutcome last;
  while (!a.model.decided()) {
    Side& caller = a.model.ownTurn() ? a : b;
    Side& other = &caller == &a ? b : a;
    const int number = firstUncalled(caller.boards.own());
    last = caller.model.callOwn(number);
    ASSERT_TRUE(last.applied() && last.ownCall);
    const CallOutcome heard = other.model.receiveCall(caller.model.fields().ownId, number);
    ASSERT_TRUE(heard.applied());
    EXPECT_FALSE(heard.ownCall);
    EXPECT_EQ(a.model.ownTurn(), !b.model.ownTurn()) << "after call " << calls;
    EXPECT_EQ(a.model.lastCall(), number);
    if (!a.model.decided()) {
      EXPECT_EQ(a.model.sideToMove() == MatchModel::Side::kLeft, a.model.ownTurn());
    }
    ASSERT_LT(++calls, Board::kCells + 1);
  }
  EXPECT_TRUE(b.model.decided());
  EXPECT_FALSE(last.turnChanged);
  // Both sides see the same decision, each from its own side.
  const bool aFive = a.boards.own().hasFiveLines(), bFive = b.boards.own().hasFiveLines();
  EXPECT_TRUE(aFive || bFive);
  EXPECT_EQ(b.boards.opponent(), a.boards.own());
  EXPECT_EQ(a.boards.opponent(), b.boards.own());
  // Nothing is a call once the match is decided.
  const int any = firstUncalled(a.boards.own());
  EXPECT_FALSE(a.model.mayCallOwn(any) || b.model.mayCallOwn(firstUncalled(b.boards.own())));
}

TEST(GameMatchModel, CallsFromAnybodyButTheOpponentOrAWatchedPlayerAreIgnored) {
  Side a(0, 5), b(1, 6);
  a.model.start(1, 0);
  a.model.receiveMap(1, cellsOf(b.boards.own()));
  EXPECT_FALSE(a.model.receiveMap(7, cellsOf(b.boards.own())));
  EXPECT_EQ(a.model.receiveCall(7, 3).kind, CallOutcome::Kind::kIgnored);
  a.model.finish();
  // Out of a match, "none" is nobody's id: its map is not taken.
  EXPECT_FALSE(a.model.receiveMap(MatchFields::kNone, cellsOf(b.boards.own())));
  a.model.watch(2, 3);
  EXPECT_EQ(a.model.sideToMove(), MatchModel::Side::kUnknown);  // no call seen yet
  EXPECT_TRUE(a.model.receiveCall(3, 4).applied());
  EXPECT_EQ(a.model.sideToMove(), MatchModel::Side::kLeft);  // the first player answers
  EXPECT_EQ(a.model.lastCall(), 4);
  EXPECT_TRUE(a.model.receiveCall(3, 4).spectating);
  EXPECT_FALSE(a.model.mayCallOwn(5));
  a.model.stopWatching();
  EXPECT_EQ(a.model.receiveCall(3, 4).kind, CallOutcome::Kind::kIgnored);
}

}  // namespace
}  // namespace pentaro
