// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/match_model.h"

namespace pentaro {
namespace {

// A map holds every number 1..25 once, called (negative) or not. Anything else comes from a
// broken or hostile peer: twenty-five 1s, say, would complete every line at the first call.
bool isWholeMap(const std::array<int, Board::kCells>& cells) {
  std::array<bool, Board::kHighestNumber + 1> seen{};
  for (const int value : cells) {
    if (value == 0 || value < -Board::kHighestNumber || value > Board::kHighestNumber) return false;
    bool& number = seen[static_cast<std::size_t>(value < 0 ? -value : value)];
    if (number) return false;
    number = true;
  }
  return true;
}

}  // namespace

void MatchModel::start(int opponent, int movesSecond) {
  fields_.opponentId = static_cast<std::int16_t>(opponent);
  fields_.movesSecond = static_cast<std::int16_t>(movesSecond);
  fields_.turnHolder = fields_.movesSecond != 0 ? fields_.opponentId : fields_.ownId;
  forgetCalls();
}

MatchModel::Side MatchModel::sideToMove() const {
  if (lastCallDecided_) return Side::kUnknown;
  if (fields_.watching()) {
    if (lastCaller_ == fields_.watchedFirst) return Side::kRight;
    if (lastCaller_ == fields_.watchedSecond) return Side::kLeft;
    return Side::kUnknown;
  }
  if (!fields_.playing()) return Side::kUnknown;
  return ownTurn() ? Side::kLeft : Side::kRight;
}

void MatchModel::watch(int first, int second) {
  fields_.watchedFirst = static_cast<std::int16_t>(first);
  fields_.watchedSecond = static_cast<std::int16_t>(second);
  forgetCalls();
}

void MatchModel::stopWatching() {
  fields_.watchedFirst = MatchFields::kNone;
  fields_.watchedSecond = MatchFields::kNone;
  forgetCalls();
}

void MatchModel::finish() {
  fields_.opponentId = MatchFields::kNone;
  forgetCalls();
}

void MatchModel::forgetCalls() {
  lastCall_ = 0;
  lastCaller_ = MatchFields::kNone;
  lastCallDecided_ = false;
}

bool MatchModel::mayCallOwn(int value) const {
  return !boards_.gameOver() && ownTurn() && value > 0 && !fields_.watching();
}

CallOutcome MatchModel::callOwn(int value) {
  return mayCallOwn(value) ? call(value) : CallOutcome{};
}

CallOutcome MatchModel::receiveCall(int caller, int number) {
  const bool fromWatched =
      fields_.watching() && (caller == fields_.watchedFirst || caller == fields_.watchedSecond);
  if (caller != fields_.opponentId && !fromWatched) return CallOutcome{};
  const CallOutcome outcome = call(number);
  if (outcome.applied()) lastCaller_ = caller;
  return outcome;
}

CallOutcome MatchModel::call(int number) {
  CallOutcome outcome;
  outcome.spectating = fields_.watching();
  if (!outcome.spectating) {
    if (!fields_.playing()) return outcome;
    if (!boards_.opponent().isFilled()) {
      outcome.kind = CallOutcome::Kind::kMapMissing;
      return outcome;
    }
  }
  outcome.kind = CallOutcome::Kind::kApplied;
  // Whatever arrives in the player's own turn counts as the player's call.
  outcome.ownCall = ownTurn() && !outcome.spectating;
  outcome.result = boards_.applyCall(number, outcome.spectating);
  lastCall_ = number;
  lastCaller_ = outcome.ownCall ? fields_.ownId : fields_.opponentId;
  lastCallDecided_ = outcome.result != CallResult::kContinue;
  if (outcome.result == CallResult::kContinue && !outcome.spectating) {
    fields_.turnHolder = outcome.ownCall ? fields_.opponentId : fields_.ownId;
    outcome.turnChanged = true;
  }
  return outcome;
}

bool MatchModel::receiveMap(int owner, const std::array<int, Board::kCells>& cells) {
  const bool watching = fields_.watching();
  // Out of a match the opponent is "none" (-1), which is nobody's id either.
  const bool fromOpponent = fields_.playing() && owner == fields_.opponentId;
  if (!fromOpponent && !watching) return false;
  if (!isWholeMap(cells)) return false;
  Board* target = nullptr;
  if (!watching || owner == fields_.watchedSecond) {
    target = &boards_.opponent();
  } else if (owner == fields_.watchedFirst) {
    target = &boards_.own();
  }
  if (target) {
    for (int i = 0; i < Board::kCells; ++i) {
      target->setCell(cells[i], i % Board::kSide, i / Board::kSide);
    }
  }
  return true;
}

}  // namespace pentaro
