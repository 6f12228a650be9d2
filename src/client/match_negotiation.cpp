// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "client/match_negotiation.h"

#include "net/line_builder.h"
#include "net/protocol.h"
#include "text/cp932.h"
#include "text/texts.h"

namespace pentaro {

namespace at = protocol::at;

MatchNegotiation::MatchNegotiation(MatchSession& match, GameBoards& boards, RandomSource& random,
                                   LobbyView& view, const ParticipantList& participants,
                                   std::function<void(const std::string&)> send,
                                   std::function<std::string()> ownName)
    : match_(match),
      boards_(boards),
      random_(random),
      view_(view),
      participants_(participants),
      send_(std::move(send)),
      ownName_(std::move(ownName)) {}

void MatchNegotiation::notice(Notice::Kind kind, std::string name, std::string other) {
  view_.noticeAdded({.kind = kind, .name = std::move(name), .other = std::move(other)});
}

void MatchNegotiation::challenge(int target) {
  sendRequest(target, Notice::Kind::kChallenging, protocol::kStartVs);
}

void MatchNegotiation::requestWatch(int target) {
  if (match_.fields().playing()) return;
  // The watched maps take both boards: a placement by hand is given up.
  boards_.abandonPlacement();
  sendRequest(target, Notice::Kind::kFetchingMatch, protocol::kGetVsId);
}

void MatchNegotiation::sendRequest(int target, Notice::Kind kind, std::string_view command) {
  if (match_.fields().playing()) return;
  stopFollowing();
  notice(kind);
  send_(LineBuilder(command).number(target));
}

bool MatchNegotiation::handle(const MessageFields& fields) {
  if (fields.is(protocol::kStartVs)) {
    onChallenge(fields);
  } else if (fields.is(protocol::kReStartVs)) {
    onAnswer(fields);
  } else if (fields.is(protocol::kGetVsId)) {
    send_(LineBuilder(protocol::kReVsId)
              .text(fields.field(at::kPeer))
              .number(match_.fields().opponentId));
  } else if (fields.is(protocol::kReVsId)) {
    onWatchAnswer(fields);
  } else if (fields.is(protocol::kReqFl)) {
    match_.sendOwnMap(fields.number(at::kPeer));
  } else {
    return false;
  }
  return true;
}

void MatchNegotiation::onRosterLine(const MessageFields& fields) {
  if (!fields.is(protocol::kStList) || fields.field(at::kListKind).empty()) return;
  const char kind = fields.field(at::kListKind)[0];
  const int a = fields.number(at::kListFirst), b = fields.number(at::kListSecond);
  const MatchFields& f = match_.fields();
  auto watched = [&f](int id) { return id == f.watchedFirst || id == f.watchedSecond; };
  if (kind == protocol::kMatchEnded && f.watching() && (watched(a) || watched(b))) {
    following_ = f.watchedFirst;
    notice(Notice::Kind::kWatchedMatchEnded);
    match_.resetBoards();
  } else if (kind == protocol::kMatchStarted && following_ != MatchFields::kNone &&
             (a == following_ || b == following_) && !f.playing() && !f.watching()) {
    requestWatch(following_);
  }
}

void MatchNegotiation::prepareBoards() {
  stopFollowing();
  // Whatever a stale match left behind, a new one starts from unmarked boards; a placement by
  // hand is completed at random.
  boards_.clearCalls();
  boards_.autoPlaceRest();
}

void MatchNegotiation::endWatchingForMatch() {
  // A reset ends watching (its view-side steps clear both watched players).
  if (match_.fields().watching()) match_.resetBoards();
}

void MatchNegotiation::onChallenge(const MessageFields& fields) {
  const int challenger = fields.number(at::kPeer);
  const std::string name = participants_.nameOf(challenger);
  LineBuilder answer(protocol::kReStartVs);
  answer.text(fields.field(at::kPeer));
  notice(Notice::Kind::kChallengeFrom, name);

  if (match_.fields().playing()) {
    answer.text(protocol::kNowVs).number(match_.fields().opponentId);
    send_(answer);
    notice(Notice::Kind::kBusyIgnoring);
    return;
  }
  // Later lines wait until the question is answered.
  view_.requestAttention();
  if (!view_.askChallenge(name)) {
    send_(answer.text(protocol::kNo));
    return;
  }
  endWatchingForMatch();
  const int movesSecond = random_.next(4) & 1;
  send_(answer.text(protocol::kOk).number(1 - movesSecond));
  prepareBoards();
  match_.sendOwnMap(challenger);
  match_.startMatch(challenger, movesSecond);
}

void MatchNegotiation::onAnswer(const MessageFields& fields) {
  const int answering = fields.number(at::kPeer);
  const std::string_view answer = fields.field(at::kAnswer);
  const std::string name = participants_.nameOf(answering);

  if (answer == protocol::kOk) {
    endWatchingForMatch();
    const MatchFields& f = match_.fields();
    if (f.playing() && f.opponentId == answering) {
      // Both challenged and both accepted: one match, already running on both sides.
      match_.settleMutualAcceptance(fields.number(at::kAnswerValue));
      notice(Notice::Kind::kAccepted, name);
    } else if (!f.playing()) {
      prepareBoards();
      match_.sendOwnMap(answering);
      match_.startMatch(answering, fields.number(at::kAnswerValue));
      notice(Notice::Kind::kAccepted, name);
    } else {
      // A second acceptance of challenges sent to several players: the late acceptor has
      // already entered the match, so it is told to leave it, and why. The note goes over the
      // wire, in the lobby's language.
      send_(LineBuilder(protocol::kEndVs).text(fields.field(at::kPeer)));
      const std::string note = std::string(cp932::truncate(ownName_(), kNoteNameBytes)) +
                               texts().alreadyPlaying + participants_.nameOf(f.opponentId) +
                               texts().alreadyPlayingWith;
      send_(LineBuilder(protocol::kMsg).text(fields.field(at::kPeer)).text(note));
      notice(Notice::Kind::kIgnoringLateAcceptance, name);
    }
  } else if (answer == protocol::kNo) {
    notice(Notice::Kind::kRefused, name);
  } else if (answer == protocol::kNowVs) {
    notice(Notice::Kind::kNowPlaying, name, participants_.nameOf(fields.number(at::kAnswerValue)));
  }
}

void MatchNegotiation::onWatchAnswer(const MessageFields& fields) {
  // An answer that arrives after the player's own match has begun is stale: watching would take
  // the boards of the running match, and the reset below would deal a new board in mid-match.
  if (match_.fields().playing()) return;
  const int first = fields.number(at::kPeer);
  const int second = fields.number(at::kOpponent);
  if (first == MatchFields::kNone || second == MatchFields::kNone) {
    notice(Notice::Kind::kNotInMatch, participants_.nameOf(first));
    endWatchingForMatch();
    return;
  }
  send_(LineBuilder(protocol::kReqFl).text(fields.field(at::kPeer)).text(protocol::kWatchFirst));
  send_(
      LineBuilder(protocol::kReqFl).text(fields.field(at::kOpponent)).text(protocol::kWatchSecond));
  match_.beginWatching(first, second);
}

}  // namespace pentaro
