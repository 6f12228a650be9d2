// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "player/computer_player.h"

#include <algorithm>
#include <vector>

#include "player/player_view.h"
#include "text/cp932.h"

namespace pentaro {
namespace {

using std::chrono::milliseconds;

// Every change the player reacts to (a line, the connection's end, a board change) is a task on
// the UI thread, after which the step runs; a step that waits only for one has no deadline.
constexpr auto kNoDeadline = HeadlessUiThread::kNoDeadline;
// Between two challenges, on top of the pause: an answer normally comes well within it.
constexpr milliseconds kChallengeInterval{20};
// After a decision a person looks at both boards for a while before pressing "対戦終了".
constexpr milliseconds kLookAtResult{4000};
// Of two computers, the one with the lower PlayerId ends a decided match; the other presses only
// when the opponent has not done so within this. A person invites a computer into a lobby it is
// already in, so the computer has the higher id and the person ends the match when done looking.
constexpr milliseconds kLetOpponentEnd{2000};
constexpr milliseconds kLetPersonEnd{30000};
// A challenge of its own waits this long for its answer; meanwhile challenges to this player are
// refused, since accepting one would make the awaited acceptance a late one that ends a match.
// A person answers a question box slower than a computer.
constexpr milliseconds kAnswerWaitComputer{1000};
constexpr milliseconds kAnswerWaitPerson{30000};
// No settings file: a computer player neither reads nor writes the person's qm.ini.
constexpr const char* kNoSettingsFile = "";

}  // namespace

ComputerPlayer::ComputerPlayer(Options options)
    : options_(std::move(options)),
      strategy_(makeStrategy(options_.level, options_.seed)),
      pauses_(options_.seed) {
  Program::Options programOptions;
  programOptions.port = options_.port;
  programOptions.settingsPath = kNoSettingsFile;
  // pentaro-bot seats a new player after a drop; this one's program does not try again itself.
  programOptions.rejoin = false;
  program_ = std::make_unique<Program>(*this, ui_, programOptions);
  ui_.invokeAndWait([this] {
    // State 0 would make every draw 0 (the same first mover every time).
    program_->random().setState(options_.seed != 0 ? options_.seed : 1);
    program_->start();
    program_->setPlayerName(options_.name);
    program_->setServerAddress(options_.host);
    program_->connect();
    // No thread of its own: the UI thread steps after each event, and at the step's deadline.
    ui_.setIdleHandler([this] { return stopped_ ? kNoDeadline : step(); });
  });
}

ComputerPlayer::~ComputerPlayer() {
  leave();
  ui_.stop();
  program_.reset();
}

void ComputerPlayer::leave() {
  ui_.invokeAndWait([this] {
    stopped_ = true;
    // A running match is ended, as a person leaving would end it, so the opponent is not left in
    // it.
    if (program_->playing()) program_->endMatch();
    program_->client().disconnect();
  });
}

void ComputerPlayer::drain() {
  ui_.invokeAndWait([this] { draining_ = true; });
}

bool ComputerPlayer::idle() {
  bool playing = false;
  ui_.invokeAndWait([&] { playing = program_->playing(); });
  return !playing;
}

ComputerPlayer::Record ComputerPlayer::record() {
  Record copy;
  ui_.invokeAndWait([&] { copy = record_; });
  return copy;
}

// A board changed (nothing to paint): note a decision at once, since the end of a match may
// follow it before the next step; the step after the task in hand looks again.
void ComputerPlayer::boardsChanged() { observe(); }

// The question "... さんから対戦の申し込みです" is only asked while no match runs.
bool ComputerPlayer::askChallenge(std::string_view /*name*/) {
  return !draining_ && !awaitingAnswer(Clock::now());
}

void ComputerPlayer::noticeAdded(const Notice& notice) {
  // The answer to its own challenge is in.
  if (notice.kind == Notice::Kind::kRefused || notice.kind == Notice::Kind::kNowPlaying) {
    challengedUntil_ = {};
  }
}

ComputerPlayer::Clock::time_point ComputerPlayer::step() {
  const Clock::time_point now = Clock::now();
  LobbyClient& client = program_->client();
  if (!client.connected()) {
    if (record_.everConnected && !record_.lostConnection) {
      record_.lostConnection = true;
      if (options_.log) options_.log("lost connection " + cp932::toUtf8(options_.name));
      if (options_.connectionLost) options_.connectionLost();
    }
    return kNoDeadline;
  }
  record_.everConnected = true;
  observe();
  if (inMatch_) {
    challengedUntil_ = {};
    return stepInMatch(now);
  }
  return stepIdle(now);
}

void ComputerPlayer::observe() {
  const MatchModel& model = program_->client().match().model();
  if (!model.fields().playing()) {
    if (inMatch_) finishMatch();
    return;
  }
  if (!inMatch_) {
    inMatch_ = true;
    decided_ = false;
    moveDue_ = {};
    opponentName_ = program_->participants().nameOf(model.fields().opponentId);
  }
  if (!model.decided() || decided_) return;
  decided_ = true;
  // The result the status line shows: the same evaluation of both boards the decision made.
  const bool ownFive = model.boards().own().hasFiveLines();
  const bool opponentFive = model.boards().opponent().hasFiveLines();
  if (ownFive && opponentFive) {
    ++record_.draws;
    logMatch("draw");
  } else if (ownFive) {
    ++record_.wins;
    logMatch("win");
  } else {
    ++record_.losses;
    logMatch("loss");
  }
  const bool humanPace = options_.pause.count() > 0 && !draining_;
  endDue_ = afterPause(Clock::now());
  if (humanPace) endDue_ += kLookAtResult;
  if (model.fields().ownId > model.fields().opponentId) {
    endDue_ += humanPace ? kLetPersonEnd : kLetOpponentEnd;
  }
}

ComputerPlayer::Clock::time_point ComputerPlayer::stepInMatch(Clock::time_point now) {
  const MatchModel& model = program_->client().match().model();
  if (decided_) {
    if (now < endDue_) return endDue_;
    program_->endMatch();
    return now;
  }
  // The own turn begins once the opponent's map is in (calls before it are refused).
  if (!model.ownTurn() || !model.boards().opponent().isFilled()) {
    moveDue_ = {};
    return kNoDeadline;
  }
  if (moveDue_ == Clock::time_point{}) moveDue_ = afterPause(now);
  if (now < moveDue_) return moveDue_;
  moveDue_ = {};
  // The call may decide the match (observed at once, in the repaint it requests); otherwise the
  // turn passes and the opponent's call comes as a line.
  callNumber();
  return decided_ ? endDue_ : kNoDeadline;
}

ComputerPlayer::Clock::time_point ComputerPlayer::stepIdle(Clock::time_point now) {
  if (!placed_) {
    placeBoard();
    placed_ = true;
  }
  if (!options_.challenge || draining_) return kNoDeadline;
  // The answer comes as a line (a refusal, or the match's start); the deadline is its limit.
  if (awaitingAnswer(now)) return challengedUntil_;
  if (now < nextChallenge_) return nextChallenge_;
  // Nobody free: a participant who becomes free comes as a line.
  if (!challengeSomeone()) return kNoDeadline;
  nextChallenge_ = afterPause(now) + kChallengeInterval;
  return challengedUntil_;
}

void ComputerPlayer::finishMatch() {
  if (!decided_) {
    ++record_.aborted;
    logMatch("aborted");
  }
  inMatch_ = false;
  decided_ = false;
  placed_ = false;  // the end of a match deals a new board
}

void ComputerPlayer::logMatch(const char* result) {
  if (options_.log) {
    options_.log("match " + cp932::toUtf8(options_.name) + " vs " + cp932::toUtf8(opponentName_) +
                 ": " + result);
  }
}

void ComputerPlayer::placeBoard() {
  // By hand, 1 to 25, as the buttons let a person do it.
  const Placement placement = strategy_->choosePlacement();
  program_->placeManually();
  for (int number = 1; number <= Board::kHighestNumber; ++number) {
    const auto at = std::find(placement.begin(), placement.end(), number);
    if (at != placement.end()) {
      const int index = static_cast<int>(at - placement.begin());
      program_->clickOwnCell(index % Board::kSide, index / Board::kSide);
    }
  }
}

void ComputerPlayer::callNumber() {
  const GameBoards& boards = program_->boards();
  const int number = strategy_->chooseCall(PlayerView::of(boards.own(), boards.opponent()));
  for (int i = 0; i < Board::kCells; ++i) {
    if (boards.own().cellAt(i) == number) {
      program_->clickOwnCell(i % Board::kSide, i / Board::kSide);
      return;
    }
  }
}

bool ComputerPlayer::challengeSomeone() {
  const int ownId = program_->client().fields().ownId;
  const ParticipantModel& participants = program_->participants().model();
  std::vector<int> free;
  for (const ParticipantModel::Line& line : participants.lines()) {
    if (line.id >= 0 && line.id < ownId &&
        participants.opponentOf(line.id) == protocol::kNoPlayer) {
      free.push_back(line.id);
    }
  }
  if (free.empty()) return false;
  program_->challenge(free[pauses_() % free.size()]);
  const bool flatOut = options_.pause.count() == 0;
  challengedUntil_ = Clock::now() + (flatOut ? kAnswerWaitComputer : kAnswerWaitPerson);
  return true;
}

bool ComputerPlayer::awaitingAnswer(Clock::time_point now) { return now < challengedUntil_; }

ComputerPlayer::Clock::time_point ComputerPlayer::afterPause(Clock::time_point now) {
  // Leaving: the running match is played out at once.
  const auto pause = draining_ ? 0 : options_.pause.count();
  if (pause <= 0) return now;
  // Between half and one and a half times the pause, as a person's pace varies.
  return now + milliseconds(pause / 2 + static_cast<long>(pauses_() % (pause + 1)));
}

}  // namespace pentaro
