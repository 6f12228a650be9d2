// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/game_boards.h"

#include <utility>
#include <vector>

namespace pentaro {
namespace {

constexpr int kResetSwaps = 250;
constexpr int kAutoPlaceSwaps = 200;

}  // namespace

GameBoards::GameBoards(RandomSource& random, std::function<void()> requestRepaint)
    : random_(random), requestRepaint_(std::move(requestRepaint)) {}

void GameBoards::reset() {
  nextToPlace_ = kNoPlacement;
  opponent_.clear();
  for (int k = 0; k < Board::kCells; ++k) own_.setCell(k + 1, k % Board::kSide, k / Board::kSide);
  for (int i = 0; i < kResetSwaps; ++i) {
    const int x1 = random_.next(5), y1 = random_.next(5);
    const int x2 = random_.next(5), y2 = random_.next(5);
    const int a = own_.cell(x1, y1), b = own_.cell(x2, y2);
    own_.setCell(b, x1, y1);
    own_.setCell(a, x2, y2);
  }
  gameOver_ = false;
  if (afterReset_) afterReset_();
}

void GameBoards::beginManualPlacement() {
  reset();
  own_.clear();
  nextToPlace_ = 1;
  requestRepaint();
}

std::optional<int> GameBoards::placeNext(int column, int row) {
  if (column < 0 || column >= Board::kSide || row < 0 || row >= Board::kSide) return std::nullopt;
  if (own_.cell(column, row) != 0 || nextToPlace_ < 1) return std::nullopt;
  own_.setCell(nextToPlace_, column, row);
  requestRepaint();
  ++nextToPlace_;
  if (nextToPlace_ > Board::kHighestNumber) nextToPlace_ = kNoPlacement;
  return nextToPlace_;
}

void GameBoards::clearCalls() {
  for (int i = 0; i < Board::kCells; ++i) {
    const int value = own_.cellAt(i);
    if (value < 0) own_.setCell(-value, i % Board::kSide, i / Board::kSide);
  }
  opponent_.clear();
  gameOver_ = false;
  requestRepaint();
}

bool GameBoards::autoPlaceRest() {
  if (nextToPlace_ == kNoPlacement) return false;
  std::vector<int> unplaced;
  for (int n = nextToPlace_; n <= Board::kHighestNumber; ++n) unplaced.push_back(n);
  const int k = static_cast<int>(unplaced.size());
  for (int i = 0; i < kAutoPlaceSwaps; ++i) {
    const int a = random_.next(k);
    const int b = random_.next(k);
    std::swap(unplaced[a], unplaced[b]);
  }
  std::size_t next = 0;
  for (int index = 0; index < Board::kCells && next < unplaced.size(); ++index) {
    const int column = index % Board::kSide, row = index / Board::kSide;
    if (own_.cell(column, row) == 0) own_.setCell(unplaced[next++], column, row);
  }
  nextToPlace_ = kNoPlacement;
  requestRepaint();
  return true;
}

CallResult GameBoards::applyCall(int number, bool spectating) {
  own_.mark(number);
  opponent_.mark(number);
  const bool ownFive = own_.hasFiveLines();
  const bool opponentFive = opponent_.hasFiveLines();
  CallResult result = ownFive && opponentFive ? CallResult::kDraw
                      : ownFive               ? CallResult::kOwnWin
                      : opponentFive          ? CallResult::kOpponentWin
                                              : CallResult::kContinue;
  if (result != CallResult::kContinue && !spectating) gameOver_ = true;
  requestRepaint();
  return result;
}

}  // namespace pentaro
