// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "player/self_play.h"

#include "game/game_boards.h"
#include "game/match_model.h"
#include "game/random_source.h"

namespace pentaro {
namespace {

// Strategies and the two programs' random sources get different, seed-derived states.
constexpr std::uint32_t kSeedStepB = 0x9e3779b9;
constexpr std::uint32_t kSeedStepRandom = 0x85ebca6b;
// The two sides' lobby identities.
constexpr int kIdA = 0;
constexpr int kIdB = 1;

// One side's program: its random source, boards and match model.
struct Side {
  Side(int id, std::uint32_t state) : boards(random, [] {}), model(boards) {
    random.setState(state);
    model.setOwnId(id);
  }
  RandomSource random;
  GameBoards boards;
  MatchModel model;

  // Places the strategy's board by hand, number by number, as a person clicks it in.
  void place(const Placement& placement) {
    boards.beginManualPlacement();
    for (int number = 1; number <= Board::kHighestNumber; ++number) {
      for (int i = 0; i < Board::kCells; ++i) {
        if (placement[i] == number) boards.placeNext(i % Board::kSide, i / Board::kSide);
      }
    }
    boards.autoPlaceRest();  // completes a placement that left numbers out
  }
  // The map as it goes over the wire: the cells in index order.
  std::array<int, Board::kCells> map() const {
    std::array<int, Board::kCells> cells{};
    for (int i = 0; i < Board::kCells; ++i) cells[i] = boards.own().cellAt(i);
    return cells;
  }
};

CallResult mirrored(CallResult result) {
  switch (result) {
    case CallResult::kOwnWin:
      return CallResult::kOpponentWin;
    case CallResult::kOpponentWin:
      return CallResult::kOwnWin;
    default:
      return result;
  }
}

void count(CallResult result, SideRecord& record) {
  if (result == CallResult::kOwnWin) ++record.wins;
  if (result == CallResult::kOpponentWin) ++record.losses;
  if (result == CallResult::kDraw) ++record.draws;
}

}  // namespace

SelfPlay::SelfPlay(Level a, Level b, std::uint32_t seed)
    : a_(makeStrategy(a, seed)), b_(makeStrategy(b, seed + kSeedStepB)), seed_(seed) {}

SelfPlayTally SelfPlay::run(int matches) {
  SelfPlayTally tally;
  for (int i = 0; i < matches; ++i) playOne(i % 2 == 0, tally);
  return tally;
}

void SelfPlay::playOne(bool aFirst, SelfPlayTally& tally) {
  seed_ += kSeedStepRandom;
  Side sideA(kIdA, seed_), sideB(kIdB, seed_ ^ kSeedStepB);
  sideA.place(a_->choosePlacement());
  sideB.place(b_->choosePlacement());
  sideA.model.start(kIdB, aFirst ? 0 : 1);
  sideB.model.start(kIdA, aFirst ? 1 : 0);
  sideA.model.receiveMap(kIdB, sideB.map());
  sideB.model.receiveMap(kIdA, sideA.map());

  for (int call = 0; call < Board::kCells; ++call) {
    Side& mover = sideA.model.ownTurn() ? sideA : sideB;
    Side& other = &mover == &sideA ? sideB : sideA;
    Strategy& strategy = &mover == &sideA ? *a_ : *b_;
    const int number =
        strategy.chooseCall(PlayerView::of(mover.boards.own(), mover.boards.opponent()));
    const CallOutcome own = mover.model.callOwn(number);
    if (!own.applied() || !own.ownCall) {
      ++tally.illegalCalls;
      return;
    }
    ++tally.calls;
    const CallOutcome received = other.model.receiveCall(mover.model.fields().ownId, number);
    if (!received.applied() || received.ownCall || received.result != mirrored(own.result) ||
        other.model.ownTurn() == mover.model.ownTurn()) {
      ++tally.disagreements;
      return;
    }
    if (own.result != CallResult::kContinue) {
      count(&mover == &sideA ? own.result : received.result, tally.a);
      count(&mover == &sideA ? received.result : own.result, tally.b);
      return;
    }
  }
  ++tally.unfinished;
}

}  // namespace pentaro
