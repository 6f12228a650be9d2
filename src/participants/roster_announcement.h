// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The server's announcements that change who is in the lobby (ADD, DEL, STLIST) applied to a
// participant model: the one reading of those lines that every player's list and the server's own
// roster share.
#ifndef PENTARO_PARTICIPANTS_ROSTER_ANNOUNCEMENT_H_
#define PENTARO_PARTICIPANTS_ROSTER_ANNOUNCEMENT_H_

#include "net/message_fields.h"
#include "participants/participant_model.h"

namespace pentaro {

// Applies ADD, DEL or STLIST; other lines are ignored. Returns true when the line was one of them.
bool applyRosterLine(ParticipantModel& model, const MessageFields& fields);

}  // namespace pentaro

#endif  // PENTARO_PARTICIPANTS_ROSTER_ANNOUNCEMENT_H_
