// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "client/match_session.h"

#include "net/line_builder.h"
#include "net/protocol.h"
#include "text/cp932.h"

namespace pentaro {

MatchSession::MatchSession(GameBoards& boards, LobbyView& view, Hooks hooks)
    : boards_(boards), view_(view), hooks_(std::move(hooks)), model_(boards) {
  boards_.setAfterReset([this] { afterReset(); });
}

// The boards may outlive the session (they are plain program-wide data).
MatchSession::~MatchSession() { boards_.setAfterReset(nullptr); }

void MatchSession::notice(Notice::Kind kind, std::string name) {
  view_.noticeAdded({.kind = kind, .name = std::move(name)});
}

void MatchSession::status(Status::Kind kind, std::string name) {
  Status s;
  s.kind = kind;
  s.name = std::move(name);
  view_.statusChanged(s);
}

void MatchSession::setCaptions(std::string left, std::string right) {
  if (left == leftCaption_ && right == rightCaption_) return;
  leftCaption_ = std::move(left);
  rightCaption_ = std::move(right);
  view_.captionsChanged(leftCaption_, rightCaption_);
}

void MatchSession::reportMatchState() {
  const MatchState state = fields().playing()    ? MatchState::kPlaying
                           : fields().watching() ? MatchState::kWatching
                                                 : MatchState::kNone;
  if (state == reported_) return;
  reported_ = state;
  view_.matchChanged(state);
}

void MatchSession::afterReset() {
  model_.stopWatching();
  reportMatchState();
  boards_.requestRepaint();
  setCaptions({}, {});
  if (hooks_.connected()) status(Status::Kind::kWaitingForMatch);
}

void MatchSession::startMatch(int opponent, int movesSecond) {
  model_.start(opponent, movesSecond);
  reportMatchState();
  setCaptions(std::string(cp932::truncate(hooks_.ownName(), kOwnCaptionBytes)),
              hooks_.nameOf(fields().opponentId));
  notice(Notice::Kind::kMatchStarted);
  showOrder();
}

void MatchSession::showOrder() {
  const bool first = fields().movesSecond == 0;
  notice(first ? Notice::Kind::kMovesFirst : Notice::Kind::kMovesSecond);
  status(first ? Status::Kind::kMovesFirst : Status::Kind::kMovesSecond);
  if (model_.ownTurn()) view_.requestAttention();
  boards_.requestRepaint();  // the frame of the side to move
}

void MatchSession::settleMutualAcceptance(int theirFlag) {
  if (fields().ownId < fields().opponentId) return;
  const int movesSecond = theirFlag != 0 ? 1 : 0;
  if (movesSecond == (fields().movesSecond != 0 ? 1 : 0)) return;
  // No call can have been made yet: each side's map follows its acceptance on the wire.
  model_.start(fields().opponentId, movesSecond);
  showOrder();
}

void MatchSession::sendOwnMap(int destination) {
  LineBuilder line(protocol::kSetEFl);
  line.number(destination);
  for (int i = 0; i < Board::kCells; ++i) line.number(boards_.own().cellAt(i));
  hooks_.send(line);
}

void MatchSession::beginWatching(int first, int second) {
  model_.watch(first, second);
  reportMatchState();
  setCaptions(hooks_.nameOf(first), hooks_.nameOf(second));
  notice(Notice::Kind::kFetchingMaps);
  status(Status::Kind::kWatching);
}

void MatchSession::show(const CallOutcome& outcome, int number) {
  if (outcome.kind == CallOutcome::Kind::kMapMissing) {
    notice(Notice::Kind::kMapNotReceived);
    notice(Notice::Kind::kPleaseWait);
    return;
  }
  if (!outcome.applied()) return;
  auto winner = [](const std::string& caption) {
    return std::string(cp932::truncate(caption, kWinnerNameBytes));
  };
  switch (outcome.result) {
    case CallResult::kContinue:
      break;
    case CallResult::kDraw:
      status(Status::Kind::kDraw);
      break;
    case CallResult::kOwnWin:
      if (outcome.spectating) {
        status(Status::Kind::kPlayerWins, winner(leftCaption_));
      } else {
        status(Status::Kind::kYouWin);
      }
      break;
    case CallResult::kOpponentWin:
      if (outcome.spectating) {
        status(Status::Kind::kPlayerWins, winner(rightCaption_));
      } else {
        status(Status::Kind::kOpponentWins);
      }
      break;
  }
  if (outcome.ownCall) {
    hooks_.send(LineBuilder(protocol::kPlot).number(fields().opponentId).number(number));
  }
  if (outcome.turnChanged) {
    status(outcome.ownCall ? Status::Kind::kOpponentsTurn : Status::Kind::kYourTurn);
    if (!outcome.ownCall) view_.requestAttention();
  }
}

void MatchSession::endMatch(bool notify) {
  if (notify) hooks_.send(LineBuilder(protocol::kEndVs).number(fields().opponentId));
  model_.finish();
  resetBoards();
  notice(Notice::Kind::kMatchEnded);
}

void MatchSession::clickOwnBoard(int value) { show(model_.callOwn(value), value); }

void MatchSession::onPlot(int caller, int number) {
  show(model_.receiveCall(caller, number), number);
}

void MatchSession::onMap(int owner, const std::array<int, Board::kCells>& cells) {
  if (!model_.receiveMap(owner, cells)) return;
  notice(Notice::Kind::kMapReceived);
  boards_.requestRepaint();
}

void MatchSession::onEndMatch(int sender) {
  // Only the own opponent can end the own match; anybody else's END_VS is stale or forged.
  if (fields().playing() && sender == fields().opponentId) endMatch(false);
}

void MatchSession::onConnectionLost() {
  if (fields().playing()) {
    notice(Notice::Kind::kConnectionLostInMatch);
    endMatch(false);
  } else if (fields().watching()) {
    resetBoards();
  }
}

void MatchSession::onPlayerLeft(int id, const std::string& name) {
  if (fields().playing() && id == fields().opponentId) {
    notice(Notice::Kind::kOpponentLeft, name);
    endMatch(false);
  } else if (fields().watching() && (id == fields().watchedFirst || id == fields().watchedSecond)) {
    notice(Notice::Kind::kWatchedLeft, name);
    resetBoards();
  }
}

}  // namespace pentaro
