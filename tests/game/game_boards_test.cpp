#include "game/game_boards.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "text/hex_bytes.h"

namespace pentaro {
namespace {

using testing::hexBytes;
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

const std::string kNext = hexBytes("8E 9F 82 CD 81 41");  // 次は、

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
  EXPECT_EQ(boards.beginManualPlacement(),
            hexBytes("31 94 D4 82 A9 82 E7 81 41 8F 87 94 D4 82 C9 94 7A 92 75 82 B5 82 C4 82 AD "
                     "82 BE 82 B3 82 A2"));  // 1番から、順番に配置してください
  EXPECT_EQ(cellsOf(boards.own()), Cells{});
  EXPECT_EQ(boards.nextToPlace(), 1);

  const int before = repaints;
  EXPECT_EQ(boards.placeNext(3, 2), kNext + "2");
  EXPECT_EQ(boards.own().cell(3, 2), 1);
  EXPECT_EQ(repaints, before + 1);
  // An occupied cell or a position outside: no text, no number used, no repaint.
  EXPECT_EQ(boards.placeNext(3, 2), std::nullopt);
  EXPECT_EQ(boards.placeNext(5, 0), std::nullopt);
  EXPECT_EQ(boards.nextToPlace(), 2);
  EXPECT_EQ(repaints, before + 1);

  std::optional<std::string> text;
  for (int i = 0; i < Board::kCells; ++i) {
    if (i == 13) continue;
    text = boards.placeNext(i % 5, i / 5);
    if (boards.nextToPlace() == 25) {
      EXPECT_EQ(text, kNext + "25");
    }
  }
  EXPECT_EQ(text, hexBytes("94 7A 92 75 8A AE 97 B9"));  // 配置完了
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

TEST(GameCallResultText, PlayerAndWatcherTexts) {
  const std::string left = "Taro", right = hexBytes("89 D4 8E 71");          // 花子
  const std::string wins = hexBytes("82 CC 8F 9F 82 BF 82 C5 82 B7");        // の勝ちです
  const std::string draw = hexBytes("88 F8 82 AB 95 AA 82 AF 82 C5 82 B7");  // 引き分けです
  EXPECT_EQ(callResultText(CallResult::kContinue, false, left, right), "");
  EXPECT_EQ(callResultText(CallResult::kContinue, true, left, right), "");
  EXPECT_EQ(callResultText(CallResult::kOwnWin, false, left, right),
            hexBytes("82 A0 82 C8 82 BD") + wins);  // あなたの勝ちです
  EXPECT_EQ(callResultText(CallResult::kOpponentWin, false, left, right),
            hexBytes("91 8A 8E E8") + wins);  // 相手の勝ちです
  EXPECT_EQ(callResultText(CallResult::kDraw, false, left, right), draw);
  EXPECT_EQ(callResultText(CallResult::kDraw, true, left, right), draw);
  EXPECT_EQ(callResultText(CallResult::kOwnWin, true, left, right), left + wins);
  EXPECT_EQ(callResultText(CallResult::kOpponentWin, true, left, right), right + wins);
}

}  // namespace
}  // namespace pentaro
