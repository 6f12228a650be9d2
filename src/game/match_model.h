// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The course of one match as one player's program sees it: who plays whom, whose turn it is, the
// calls on both boards and their decision, and which match is being watched. It knows no window
// and no protocol: every operation says what happened, and the caller shows it and tells the
// opponent. A computer player plays a whole match through it alone. Owned by one thread (the UI
// thread in the program).
#ifndef PENTARO_GAME_MATCH_MODEL_H_
#define PENTARO_GAME_MATCH_MODEL_H_

#include <array>
#include <cstdint>

#include "game/board.h"
#include "game/game_boards.h"

namespace pentaro {

// Identities are the lobby's player ids, 16-bit, -1 for none.
struct MatchFields {
  static constexpr std::int16_t kNone = -1;
  std::int16_t ownId = kNone;
  std::int16_t opponentId = kNone;
  std::int16_t turnHolder = kNone;
  std::int16_t movesSecond = 0;
  std::int16_t watchedFirst = kNone;
  std::int16_t watchedSecond = kNone;

  bool playing() const { return opponentId != kNone; }
  bool watching() const { return watchedFirst != kNone; }
};

// What one call did.
struct CallOutcome {
  enum class Kind {
    kIgnored,     // not a call now: nothing changed
    kMapMissing,  // the opponent's map has not arrived yet: nothing changed
    kApplied,     // marked on both boards and evaluated
  };
  Kind kind = Kind::kIgnored;
  CallResult result = CallResult::kContinue;
  bool spectating = false;
  // The call counts as this player's own: the opponent must be told.
  bool ownCall = false;
  // The turn passed to the other side with this call.
  bool turnChanged = false;

  bool applied() const { return kind == Kind::kApplied; }
};

class MatchModel {
 public:
  // The board whose side calls next, as the window shows the two boards.
  enum class Side { kUnknown, kLeft, kRight };

  explicit MatchModel(GameBoards& boards) : boards_(boards) {}
  MatchModel(const MatchModel&) = delete;
  MatchModel& operator=(const MatchModel&) = delete;

  const MatchFields& fields() const { return fields_; }
  GameBoards& boards() { return boards_; }
  const GameBoards& boards() const { return boards_; }

  // The lobby gave this player `id` (at every join).
  void setOwnId(int id) { fields_.ownId = static_cast<std::int16_t>(id); }

  // Enters a match against `opponent`; the own side moves first unless `movesSecond` is non-zero.
  void start(int opponent, int movesSecond);
  // Leaves the match (the boards are the caller's to reset); also when none runs.
  void finish();
  bool ownTurn() const { return fields_.playing() && fields_.turnHolder == fields_.ownId; }
  bool decided() const { return boards_.gameOver(); }
  // Who calls next: in the own match the turn holder (the own board is the left one); while
  // watching, the other side of the last call seen. Unknown before the first call a watcher sees,
  // and once a call has decided the match.
  Side sideToMove() const;
  // The last number called in the match being played or watched; 0 for none yet.
  int lastCall() const { return lastCall_; }

  // Watching the match of `first` (whose board is shown on the own side) and `second`.
  void watch(int first, int second);
  void stopWatching();

  // Whether a click on an own cell holding `value` is a call now: the player's turn in an
  // undecided match, a number not yet called, not watching.
  bool mayCallOwn(int value) const;
  // The player calls the number in the clicked cell; ignored unless mayCallOwn.
  CallOutcome callOwn(int value);
  // A call received from `caller`: the opponent, or a player whose match is watched; others are
  // ignored.
  CallOutcome receiveCall(int caller, int number);
  // A map received from `owner`. Returns false when it is nobody's map to take (neither the
  // opponent nor, while watching, anybody) or not a map (not every number 1..25 once); a watched
  // match's third player's map writes no cell but still counts as received.
  bool receiveMap(int owner, const std::array<int, Board::kCells>& cells);

 private:
  // Marks `number`: as the player's own call when it is the player's turn, else as the other
  // side's.
  CallOutcome call(int number);
  void forgetCalls();

  GameBoards& boards_;
  MatchFields fields_;
  int lastCall_ = 0;
  int lastCaller_ = MatchFields::kNone;
  bool lastCallDecided_ = false;
};

}  // namespace pentaro

#endif  // PENTARO_GAME_MATCH_MODEL_H_
