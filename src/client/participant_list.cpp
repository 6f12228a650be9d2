#include "client/participant_list.h"

#include "net/protocol.h"
#include "participants/roster_announcement.h"

namespace pentaro {

void ParticipantList::attach(Window* window) {
  window_ = window;
  if (!window_) return;
  for (const ParticipantModel::Line& line : model_.lines()) window_->listAdd(line.text, line.id);
}

int ParticipantList::selectedId() const {
  if (!window_) return protocol::kNoPlayer;
  return model_.idAt(window_->listSelection());
}

void ParticipantList::lineInserted(int /*index*/, const ParticipantModel::Line& line) {
  if (window_) window_->listAdd(line.text, line.id);
}

void ParticipantList::lineRemoved(int index) {
  if (window_) window_->listDelete(index);
}

void ParticipantList::lineRebuilt(int from, int /*to*/, const ParticipantModel::Line& line) {
  if (!window_) return;
  // The selection stays at its position, as the list box keeps it across a delete and an add.
  const int selection = window_->listSelection();
  if (from >= 0) window_->listDelete(from);
  window_->listAdd(line.text, line.id);
  if (selection >= 0) window_->listSelect(selection);
}

void ParticipantList::cleared() {
  if (!window_) return;
  for (int n = window_->listCount(); n > 0; --n) window_->listDelete(0);
}

bool applyRosterLine(ParticipantList& list, const MessageFields& fields) {
  return applyRosterLine(list.model(), fields);
}

}  // namespace pentaro
