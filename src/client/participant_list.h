// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The participant list of one player's program: the participant model, kept from the server's
// ADD, DEL and STLIST lines and emptied when the connection ends, with every change of its lines
// reported to the view. The model owns the lines; the view only shows them. UI thread only.
#ifndef PENTARO_CLIENT_PARTICIPANT_LIST_H_
#define PENTARO_CLIENT_PARTICIPANT_LIST_H_

#include <string>
#include <vector>

#include "net/message_fields.h"
#include "participants/participant_model.h"
#include "ui/lobby_view.h"

namespace pentaro {

class ParticipantList : private ParticipantModel::Observer {
 public:
  ParticipantList() { model_.setObserver(this); }
  ParticipantList(const ParticipantList&) = delete;
  ParticipantList& operator=(const ParticipantList&) = delete;

  // Attaches the view and shows it the model's lines; until then the model changes alone.
  void attach(LobbyView* view);

  void addParticipant(int id, const std::string& name) { model_.addParticipant(id, name); }
  void removeParticipant(int id) { model_.removeParticipant(id); }
  void startedMatch(int a, int b) { model_.startedMatch(a, b); }
  void endedMatch(int a, int b) { model_.endedMatch(a, b); }
  void clearAll() { model_.clear(); }

  const ParticipantModel& model() const { return model_; }
  ParticipantModel& model() { return model_; }
  std::string nameOf(int id) const { return model_.nameOf(id); }
  int opponentOf(int id) const { return model_.opponentOf(id); }
  std::vector<RosterLine> rosterLines() const { return model_.rosterLines(); }

 private:
  void lineInserted(int index, const ParticipantModel::Line& line) override;
  void lineRemoved(int index) override;
  void lineRebuilt(int from, int to, const ParticipantModel::Line& line) override;
  void cleared() override;

  LobbyView* view_ = nullptr;
  ParticipantModel model_;
};

// Applies a server announcement that changes the list (ADD, DEL, STLIST); other lines are
// ignored. Returns true when the line was one of them.
bool applyRosterLine(ParticipantList& list, const MessageFields& fields);

}  // namespace pentaro

#endif  // PENTARO_CLIENT_PARTICIPANT_LIST_H_
