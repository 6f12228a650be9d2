// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "player/strong_strategy.h"

#include <bit>
#include <cmath>
#include <limits>

namespace pentaro {
namespace {

// Each cell still missing divides a way's weight by this: large enough that one nearer way
// outweighs many farther ones.
constexpr double kWeightPerMissingCell = 6.0;
// How much the opponent's gain counts against the own, once its board has been read.
constexpr double kOpponentGainWeight = 1.0;
constexpr double kWinScore = std::numeric_limits<double>::max();
constexpr double kDrawScore = kWinScore / 2;
constexpr double kLossScore = std::numeric_limits<double>::lowest();

struct Weights {
  std::array<double, Board::kCells + 1> byMissing{};
  Weights() {
    for (int missing = 0; missing <= Board::kCells; ++missing) {
      byMissing[missing] = std::pow(kWeightPerMissingCell, -missing);
    }
  }
};

// The plain orders a person filling a board by hand tends to use, as index -> number.
int rowsForward(int index) { return index + 1; }
int columnsForward(int index) {
  return index / Board::kSide + Board::kSide * (index % Board::kSide) + 1;
}
int rowsBackward(int index) { return Board::kCells - index; }
int columnsBackward(int index) { return Board::kCells + 1 - columnsForward(index); }
constexpr int (*kPlainOrders[])(int) = {rowsForward, columnsForward, rowsBackward, columnsBackward};

CellMask bit(int index) { return CellMask{1} << index; }

}  // namespace

double StrongStrategy::nearness(CellMask marked) {
  static const Weights weights;
  double sum = 0;
  for (CellMask way : fiveLineUnions()) sum += weights.byMissing[std::popcount(way & ~marked)];
  return sum;
}

std::optional<Placement> StrongStrategy::readOpponentOrder(const PlayerView::ShownCells& shown) {
  for (auto order : kPlainOrders) {
    bool fits = false;
    for (int i = 0; i < Board::kCells; ++i) {
      if (shown[i] == 0) continue;
      fits = shown[i] == order(i);
      if (!fits) break;
    }
    if (!fits) continue;
    Placement board{};
    for (int i = 0; i < Board::kCells; ++i) board[i] = order(i);
    return board;
  }
  return std::nullopt;
}

int StrongStrategy::chooseCall(const PlayerView& view) {
  const CellMask ownMarked = view.ownMarked();
  const std::optional<Placement> opponent = readOpponentOrder(view.shownOpponent());
  std::array<int, Board::kHighestNumber + 1> opponentIndex{};
  CellMask opponentMarked = 0;
  if (opponent) {
    for (int i = 0; i < Board::kCells; ++i) {
      opponentIndex[(*opponent)[i]] = i;
      if (view.isCalled((*opponent)[i])) opponentMarked |= bit(i);
    }
  }

  int best = 0, ties = 0;
  double bestScore = 0;
  for (int i = 0; i < Board::kCells; ++i) {
    const int number = view.own().cellAt(i);
    if (number <= 0) continue;
    const CellMask own = ownMarked | bit(i);
    const bool ownFive = completedLines(own) >= Board::kLinesToWin;
    double score = std::log(nearness(own));
    if (opponent) {
      const CellMask theirs = opponentMarked | bit(opponentIndex[number]);
      const bool theirFive = completedLines(theirs) >= Board::kLinesToWin;
      if (theirFive) {
        score = ownFive ? kDrawScore : kLossScore;
      } else {
        score -= kOpponentGainWeight * std::log(nearness(theirs));
        if (ownFive) score = kWinScore;
      }
    } else if (ownFive) {
      score = kWinScore;
    }
    if (ties == 0 || score > bestScore) {
      best = number, bestScore = score, ties = 1;
    } else if (score == bestScore && draw(++ties) == 0) {
      best = number;
    }
  }
  return best;
}

}  // namespace pentaro
