#include "participants/roster_announcement.h"

#include <string>

#include "net/protocol.h"

namespace pentaro {

bool applyRosterLine(ParticipantModel& model, const MessageFields& fields) {
  if (fields.is(protocol::kAdd)) {
    model.addParticipant(fields.number(1), std::string(fields.field(2)));
  } else if (fields.is(protocol::kDel)) {
    model.removeParticipant(fields.number(1));
  } else if (fields.is(protocol::kStList)) {
    const std::string_view kind = fields.field(1);
    if (!kind.empty() && kind[0] == protocol::kMatchStarted) {
      model.startedMatch(fields.number(2), fields.number(3));
    } else if (!kind.empty() && kind[0] == protocol::kMatchEnded) {
      model.endedMatch(fields.number(2), fields.number(3));
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace pentaro
