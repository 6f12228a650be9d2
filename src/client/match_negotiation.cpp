#include "client/match_negotiation.h"

#include "net/line_builder.h"
#include "net/protocol.h"
#include "text/texts.h"
#include "ui/chat_log.h"
#include "ui/controls.h"

namespace pentaro {

MatchNegotiation::MatchNegotiation(MatchSession& match, GameBoards& boards, RandomSource& random,
                                   Window& window, const ParticipantList& participants,
                                   std::function<void(const std::string&)> send)
    : match_(match),
      boards_(boards),
      random_(random),
      window_(window),
      participants_(participants),
      send_(std::move(send)) {}

void MatchNegotiation::challenge(int target) {
  sendRequest(target, texts().challenging, protocol::kStartVs);
}

void MatchNegotiation::requestWatch(int target) {
  sendRequest(target, texts().fetchingMatch, protocol::kGetVsId);
}

void MatchNegotiation::sendRequest(int target, const std::string& notice,
                                   std::string_view command) {
  const MatchFields& f = match_.fields();
  if (f.playing()) return;
  // The own line selected: nothing to ask anybody, but a fresh board and the end of watching.
  if (target == f.ownId) {
    match_.resetBoards();
    return;
  }
  appendChatLog(window_, notice);
  send_(LineBuilder(command).number(target));
}

bool MatchNegotiation::handle(const MessageFields& fields) {
  if (fields.is(protocol::kStartVs)) {
    onChallenge(fields);
  } else if (fields.is(protocol::kReStartVs)) {
    onAnswer(fields);
  } else if (fields.is(protocol::kGetVsId)) {
    send_(LineBuilder(protocol::kReVsId).text(fields.field(1)).number(match_.fields().opponentId));
  } else if (fields.is(protocol::kReVsId)) {
    onWatchAnswer(fields);
  } else if (fields.is(protocol::kReqFl)) {
    match_.sendOwnMap(fields.number(1));
  } else {
    return false;
  }
  return true;
}

void MatchNegotiation::endWatchingForMatch() {
  // A reset ends watching (its window-side steps clear both watched players).
  if (match_.fields().watching()) match_.resetBoards();
}

void MatchNegotiation::onChallenge(const MessageFields& fields) {
  const int challenger = fields.number(1);
  const std::string name = participants_.nameOf(challenger);
  LineBuilder answer(protocol::kReStartVs);
  answer.text(fields.field(1));
  appendChatLog(window_, texts().challengeNoticePrefix + name + texts().challengeNotice);

  if (match_.fields().playing()) {
    answer.text(protocol::kNowVs).number(match_.fields().opponentId);
    send_(answer);
    appendChatLog(window_, texts().busyIgnoring);
    return;
  }
  // Later lines wait until the question is answered.
  window_.requestAttention();
  if (!window_.askYesNo(name + texts().askChallenge, texts().boxCaption)) {
    send_(answer.text(protocol::kNo));
    return;
  }
  endWatchingForMatch();
  const int movesSecond = random_.next(4) & 1;
  send_(answer.text(protocol::kOk).number(1 - movesSecond));
  boards_.autoPlaceRest();
  match_.sendOwnMap(challenger);
  match_.startMatch(challenger, movesSecond);
}

void MatchNegotiation::onAnswer(const MessageFields& fields) {
  const int answering = fields.number(1);
  const std::string_view answer = fields.field(2);
  std::string chat = participants_.nameOf(answering);

  if (answer == protocol::kOk) {
    endWatchingForMatch();
    chat += texts().acceptedChallenge;
    const MatchFields& f = match_.fields();
    if (f.playing() && f.opponentId == answering) {
      // Both challenged and both accepted: one match, already running on both sides.
      match_.settleMutualAcceptance(fields.number(3));
    } else if (!f.playing()) {
      boards_.autoPlaceRest();
      match_.sendOwnMap(answering);
      match_.startMatch(answering, fields.number(3));
    } else {
      // A second acceptance of challenges sent to several players: the late acceptor has
      // already entered the match, so it is told to leave it, and why.
      send_(LineBuilder(protocol::kEndVs).text(fields.field(1)));
      const std::string note = window_.text(IDC_PLAYER_NAME, kNoteNameBytes) +
                               texts().alreadyPlaying + participants_.nameOf(f.opponentId) +
                               texts().alreadyPlayingWith;
      send_(LineBuilder(protocol::kMsg).text(fields.field(1)).text(note));
      chat += texts().ignoringLateAcceptance;
    }
  } else if (answer == protocol::kNo) {
    chat += texts().refusedChallenge;
  } else if (answer == protocol::kNowVs) {
    chat += texts().isNowPlaying + participants_.nameOf(fields.number(3)) + texts().isPlayingWith;
  }
  appendChatLog(window_, chat);
}

void MatchNegotiation::onWatchAnswer(const MessageFields& fields) {
  MatchFields& f = match_.fields();
  // An answer that arrives after the player's own match has begun is stale: watching would take
  // the boards of the running match, and the reset below would deal a new board in mid-match.
  if (f.playing()) return;
  f.watchedFirst = static_cast<std::int16_t>(fields.number(1));
  f.watchedSecond = static_cast<std::int16_t>(fields.number(2));
  if (f.watchedFirst == MatchFields::kNone || f.watchedSecond == MatchFields::kNone) {
    f.watchedFirst = MatchFields::kNone;
    f.watchedSecond = MatchFields::kNone;
    appendChatLog(window_, participants_.nameOf(fields.number(1)) + texts().notInMatch);
    match_.resetBoards();
    return;
  }
  send_(LineBuilder(protocol::kReqFl).text(fields.field(1)).text(protocol::kWatchFirst));
  send_(LineBuilder(protocol::kReqFl).text(fields.field(2)).text(protocol::kWatchSecond));
  window_.setText(IDC_OWN_CAPTION, participants_.nameOf(f.watchedFirst));
  window_.setText(IDC_OPPONENT_CAPTION, participants_.nameOf(f.watchedSecond));
  appendChatLog(window_, texts().fetchingMaps);
  window_.setText(IDC_STATUS, texts().watching);
}

}  // namespace pentaro
