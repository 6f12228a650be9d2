// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's two boards and the placement state: the own board (left) and the opponent's board
// as received (right). Every operation that changes a board ends with a repaint request. Owned
// and used by the UI thread only.
#ifndef PENTARO_GAME_GAME_BOARDS_H_
#define PENTARO_GAME_GAME_BOARDS_H_

#include <functional>
#include <optional>

#include "game/board.h"
#include "game/random_source.h"

namespace pentaro {

enum class CallResult { kContinue, kOwnWin, kOpponentWin, kDraw };

class GameBoards {
 public:
  static constexpr int kNoPlacement = -1;

  GameBoards(RandomSource& random, std::function<void()> requestRepaint);

  Board& own() { return own_; }
  const Board& own() const { return own_; }
  Board& opponent() { return opponent_; }
  const Board& opponent() const { return opponent_; }
  int nextToPlace() const { return nextToPlace_; }
  bool gameOver() const { return gameOver_; }
  // Ends a placement by hand without touching the boards (the spectate command).
  void abandonPlacement() { nextToPlace_ = kNoPlacement; }

  // Runs after every reset, wherever it was called: the window-side steps (match play sets it).
  void setAfterReset(std::function<void()> afterReset) { afterReset_ = std::move(afterReset); }

  // A freshly shuffled own board, an empty opponent board, no placement, no decided match; then
  // the after-reset steps.
  void reset();
  // A complete reset, then an empty own board for placing by hand from 1.
  void beginManualPlacement();
  // Places the next number into an empty cell. Returns the number to place next, or kNoPlacement
  // once all 25 are placed; nothing when the click is ignored.
  std::optional<int> placeNext(int column, int row);
  // Unmarks every called number on the own board and empties the opponent's: the start of a
  // match keeps the own placement but nothing of an earlier match.
  void clearCalls();
  // Completes a placement by hand at random; false when none runs.
  bool autoPlaceRest();
  // Marks a called number on both boards and evaluates both; the player's view sets gameOver.
  CallResult applyCall(int number, bool spectating);

  void requestRepaint() { requestRepaint_(); }

 private:
  RandomSource& random_;
  std::function<void()> requestRepaint_;
  std::function<void()> afterReset_;
  Board own_;
  Board opponent_;
  int nextToPlace_ = kNoPlacement;
  bool gameOver_ = false;
};

}  // namespace pentaro

#endif  // PENTARO_GAME_GAME_BOARDS_H_
