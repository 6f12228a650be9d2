#include "player/self_play.h"

#include "game/game_boards.h"
#include "game/random_source.h"

namespace pentaro {
namespace {

// Strategies and the two programs' random sources get different, seed-derived states.
constexpr std::uint32_t kSeedStepB = 0x9e3779b9;
constexpr std::uint32_t kSeedStepRandom = 0x85ebca6b;

// One side's program: its random source and boards.
struct Side {
  explicit Side(std::uint32_t state) : boards(random, [] {}) { random.setState(state); }
  RandomSource random;
  GameBoards boards;

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
  Side sideA(seed_), sideB(seed_ ^ kSeedStepB);
  sideA.place(a_->choosePlacement());
  sideB.place(b_->choosePlacement());
  sideA.boards.opponent() = sideB.boards.own();  // the map exchange
  sideB.boards.opponent() = sideA.boards.own();

  Side* mover = aFirst ? &sideA : &sideB;
  for (int call = 0; call < Board::kCells; ++call) {
    Strategy& strategy = mover == &sideA ? *a_ : *b_;
    const PlayerView view = PlayerView::of(mover->boards.own(), mover->boards.opponent());
    const int number = strategy.chooseCall(view);
    if (number <= 0 || number > Board::kHighestNumber || view.isCalled(number)) {
      ++tally.illegalCalls;
      return;
    }
    ++tally.calls;
    const CallResult forA = sideA.boards.applyCall(number, false);
    const CallResult forB = sideB.boards.applyCall(number, false);
    if (forB != mirrored(forA)) {
      ++tally.disagreements;
      return;
    }
    if (forA != CallResult::kContinue) {
      count(forA, tally.a);
      count(forB, tally.b);
      return;
    }
    mover = mover == &sideA ? &sideB : &sideA;
  }
  ++tally.unfinished;
}

}  // namespace pentaro
