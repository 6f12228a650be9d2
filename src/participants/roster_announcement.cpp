// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "participants/roster_announcement.h"

#include <string>

#include "net/protocol.h"

namespace pentaro {

namespace at = protocol::at;

bool applyRosterLine(ParticipantModel& model, const MessageFields& fields) {
  if (fields.is(protocol::kAdd)) {
    model.addParticipant(fields.number(at::kPlayer), std::string(fields.field(at::kName)));
  } else if (fields.is(protocol::kDel)) {
    model.removeParticipant(fields.number(at::kPlayer));
  } else if (fields.is(protocol::kStList)) {
    const std::string_view kind = fields.field(at::kListKind);
    if (!kind.empty() && kind[0] == protocol::kMatchStarted) {
      model.startedMatch(fields.number(at::kListFirst), fields.number(at::kListSecond));
    } else if (!kind.empty() && kind[0] == protocol::kMatchEnded) {
      model.endedMatch(fields.number(at::kListFirst), fields.number(at::kListSecond));
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace pentaro
