// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "client/participant_list.h"

#include "participants/roster_announcement.h"

namespace pentaro {

void ParticipantList::attach(LobbyView* view) {
  view_ = view;
  if (!view_) return;
  const std::vector<ParticipantModel::Line>& lines = model_.lines();
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    view_->participantInserted(i, lines[i].text, lines[i].id);
  }
}

void ParticipantList::lineInserted(int index, const ParticipantModel::Line& line) {
  if (view_) view_->participantInserted(index, line.text, line.id);
}

void ParticipantList::lineRemoved(int index) {
  if (view_) view_->participantRemoved(index);
}

void ParticipantList::lineRebuilt(int from, int to, const ParticipantModel::Line& line) {
  if (view_) view_->participantRebuilt(from, to, line.text, line.id);
}

void ParticipantList::cleared() {
  if (view_) view_->participantsCleared();
}

bool applyRosterLine(ParticipantList& list, const MessageFields& fields) {
  return applyRosterLine(list.model(), fields);
}

}  // namespace pentaro
