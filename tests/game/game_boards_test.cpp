// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/game_boards.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace pentaro {
namespace {

using Cells = std::array<int, Board::kCells>;

Cells cellsOf(const Board& board) {
  Cells cells{};
  for (int i = 0; i < Board::kCells; ++i) cells[i] = board.cellAt(i);
  return cells;
}

// 1..25 row by row; with `rowsCalled`, rows 0..3 are called and the call of 21 makes six lines
// (column 0 and the diagonal from (4,0) to (0,4)).
Board numbered(bool rowsCalled = false) {
  Board board;
  for (int i = 0; i < Board::kCells; ++i) {
    board.setCell(rowsCalled && i < 20 ? -(i + 1) : i + 1, i % 5, i / 5);
  }
  return board;
}

class GameBoardsTest : public ::testing::Test {
 protected:
  RandomSource random;
  int repaints = 0;
  GameBoards boards{random, [this] { ++repaints; }};
};

TEST_F(GameBoardsTest, ResetFromTheInitialState) {
  boards.opponent() = numbered();
  boards.beginManualPlacement();
  random.setState(RandomSource::kInitialState);
  boards.reset();
  EXPECT_EQ(cellsOf(boards.own()), (Cells{16, 14, 20, 21, 24,  //
                                          11, 8,  5,  2,  12,  //
                                          18, 25, 13, 19, 17,  //
                                          4,  9,  7,  10, 23,  //
                                          15, 1,  3,  22, 6}));
  EXPECT_EQ(cellsOf(boards.opponent()), Cells{});
  EXPECT_EQ(random.state(), 0xd3d83fedu);  // 1000 draws
  EXPECT_EQ(boards.nextToPlace(), GameBoards::kNoPlacement);
}

TEST_F(GameBoardsTest, PlacementByHand) {
  boards.beginManualPlacement();
  EXPECT_EQ(cellsOf(boards.own()), Cells{});
  EXPECT_EQ(boards.nextToPlace(), 1);

  const int before = repaints;
  EXPECT_EQ(boards.placeNext(3, 2), 2);
  EXPECT_EQ(boards.own().cell(3, 2), 1);
  EXPECT_EQ(repaints, before + 1);
  // An occupied cell or a position outside: nothing, no number used, no repaint.
  EXPECT_EQ(boards.placeNext(3, 2), std::nullopt);
  EXPECT_EQ(boards.placeNext(5, 0), std::nullopt);
  EXPECT_EQ(boards.nextToPlace(), 2);
  EXPECT_EQ(repaints, before + 1);

  std::optional<int> next;
  for (int i = 0; i < Board::kCells; ++i) {
    if (i == 13) continue;
    next = boards.placeNext(i % 5, i / 5);
    if (boards.nextToPlace() == 25) {
      EXPECT_EQ(next, 25);
    }
  }
  EXPECT_EQ(next, GameBoards::kNoPlacement);
  EXPECT_EQ(boards.nextToPlace(), GameBoards::kNoPlacement);
  EXPECT_EQ(boards.own().cell(4, 4), 25);
}

TEST_F(GameBoardsTest, AutoPlaceRestAfterFiveOnTheDiagonal) {
  boards.beginManualPlacement();
  for (int k = 0; k < 5; ++k) boards.placeNext(k, k);
  random.setState(RandomSource::kInitialState);
  const int before = repaints;
  EXPECT_TRUE(boards.autoPlaceRest());
  EXPECT_EQ(cellsOf(boards.own()), (Cells{1,  8,  6,  16, 10,  //
                                          18, 2,  22, 24, 7,   //
                                          15, 25, 3,  14, 9,   //
                                          13, 12, 20, 4,  23,  //
                                          21, 11, 19, 17, 5}));
  EXPECT_EQ(random.state(), 0x86fed793u);  // 400 draws
  EXPECT_EQ(boards.nextToPlace(), GameBoards::kNoPlacement);
  EXPECT_EQ(repaints, before + 1);
}

TEST_F(GameBoardsTest, AutoPlaceRestWithOneNumberLeft) {
  boards.beginManualPlacement();
  for (int i = 0; i < Board::kCells; ++i) {
    if (i != 17) boards.placeNext(i % 5, i / 5);
  }
  ASSERT_EQ(boards.nextToPlace(), 25);
  RandomSource reference;
  reference.setState(random.state());
  for (int i = 0; i < 400; ++i) reference.next(1);
  EXPECT_TRUE(boards.autoPlaceRest());
  EXPECT_EQ(boards.own().cell(2, 3), 25);
  EXPECT_EQ(random.state(), reference.state());
}

TEST_F(GameBoardsTest, AutoPlaceRestWithoutPlacementDoesNothing) {
  boards.reset();
  const Board own = boards.own();
  const std::uint32_t state = random.state();
  const int before = repaints;
  EXPECT_FALSE(boards.autoPlaceRest());
  EXPECT_EQ(boards.own(), own);
  EXPECT_EQ(random.state(), state);
  EXPECT_EQ(repaints, before);
}

TEST_F(GameBoardsTest, CallResults) {
  struct Case {
    bool ownReady, opponentReady, spectating;
    CallResult result;
    bool gameOver;
  };
  for (const Case& c : {Case{false, false, false, CallResult::kContinue, false},
                        Case{true, false, false, CallResult::kOwnWin, true},
                        Case{false, true, false, CallResult::kOpponentWin, true},
                        Case{true, true, false, CallResult::kDraw, true},
                        Case{true, false, true, CallResult::kOwnWin, false},
                        Case{false, true, true, CallResult::kOpponentWin, false},
                        Case{true, true, true, CallResult::kDraw, false}}) {
    boards.reset();
    boards.own() = numbered(c.ownReady);
    boards.opponent() = numbered(c.opponentReady);
    const int before = repaints;
    EXPECT_EQ(boards.applyCall(21, c.spectating), c.result);
    EXPECT_EQ(boards.gameOver(), c.gameOver);
    EXPECT_EQ(boards.own().cell(0, 4), -21);
    EXPECT_EQ(boards.opponent().cell(0, 4), -21);
    EXPECT_EQ(repaints, before + 1);
  }
  // reset clears a decided match.
  boards.reset();
  EXPECT_FALSE(boards.gameOver());
}

}  // namespace
}  // namespace pentaro
