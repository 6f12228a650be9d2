// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The client's side of starting a match and of watching one: the challenge and its question, the
// answers, the first-move draw, and the requests that begin watching. UI thread only.
#ifndef PENTARO_CLIENT_MATCH_NEGOTIATION_H_
#define PENTARO_CLIENT_MATCH_NEGOTIATION_H_

#include <functional>
#include <string>
#include <string_view>

#include "client/match_session.h"
#include "client/participant_list.h"
#include "game/game_boards.h"
#include "game/random_source.h"
#include "net/message_fields.h"
#include "ui/lobby_view.h"

namespace pentaro {

class MatchNegotiation {
 public:
  // The own name cut to this many CP932 bytes opens the note to a late acceptor.
  static constexpr std::size_t kNoteNameBytes = 39;

  MatchNegotiation(MatchSession& match, GameBoards& boards, RandomSource& random, LobbyView& view,
                   const ParticipantList& participants,
                   std::function<void(const std::string&)> send,
                   std::function<std::string()> ownName);

  // "対戦" and "観戦" with a participant chosen.
  void challenge(int target);
  void requestWatch(int target);

  // Received lines; false when the line is none of STARTVS, RE_STARTVS, GET_VS_ID, RE_VS_ID,
  // REQ_FL.
  bool handle(const MessageFields& fields);
  // A roster line (already in the participant list): the end of a watched match is told, and
  // watching follows its first player into the next match.
  void onRosterLine(const MessageFields& fields);
  void stopFollowing() { following_ = MatchFields::kNone; }
  void stopFollowingPlayer(int id) {
    if (following_ == id) stopFollowing();
  }

 private:
  // A challenge or a watch request to another participant.
  void sendRequest(int target, Notice::Kind notice, std::string_view command);
  void notice(Notice::Kind kind, std::string name = {}, std::string other = {});
  void onChallenge(const MessageFields& fields);
  void onAnswer(const MessageFields& fields);
  void onWatchAnswer(const MessageFields& fields);
  void endWatchingForMatch();
  void prepareBoards();

  MatchSession& match_;
  GameBoards& boards_;
  RandomSource& random_;
  LobbyView& view_;
  const ParticipantList& participants_;
  std::function<void(const std::string&)> send_;
  std::function<std::string()> ownName_;
  // The player whose next match is watched once it starts; kNone for none.
  int following_ = MatchFields::kNone;
};

}  // namespace pentaro

#endif  // PENTARO_CLIENT_MATCH_NEGOTIATION_H_
