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
#include "ui/window.h"

namespace pentaro {

class MatchNegotiation {
 public:
  MatchNegotiation(MatchSession& match, GameBoards& boards, RandomSource& random, Window& window,
                   const ParticipantList& participants,
                   std::function<void(const std::string&)> send);

  // The buttons "対戦" and "観戦" with a selected participant.
  void challenge(int target);
  void requestWatch(int target);

  // Received lines; false when the line is none of STARTVS, RE_STARTVS, GET_VS_ID, RE_VS_ID,
  // REQ_FL.
  bool handle(const MessageFields& fields);

 private:
  // A challenge or a watch request to another participant.
  void sendRequest(int target, const std::string& notice, std::string_view command);
  void onChallenge(const MessageFields& fields);
  void onAnswer(const MessageFields& fields);
  void onWatchAnswer(const MessageFields& fields);
  void endWatchingForMatch();

  MatchSession& match_;
  GameBoards& boards_;
  RandomSource& random_;
  Window& window_;
  const ParticipantList& participants_;
  std::function<void(const std::string&)> send_;
};

}  // namespace pentaro

#endif  // PENTARO_CLIENT_MATCH_NEGOTIATION_H_
