#include "client/participant_list.h"

#include "net/protocol.h"
#include "text/texts.h"

namespace pentaro {

void ParticipantList::attach(Window* window) {
  window_ = window;
  publish();
}

void ParticipantList::addParticipant(int id, const std::string& name) {
  addLine(name, id);
  entries_[id] = ParticipantEntry{name, protocol::kNoPlayer};
  publish();
}

void ParticipantList::removeParticipant(int id) {
  removeLine(id);
  entries_.erase(id);
  publish();
}

void ParticipantList::startedMatch(int a, int b) {
  entries_[a].opponentId = b;
  refreshLine(a);
  entries_[b].opponentId = a;
  refreshLine(b);
  publish();
}

void ParticipantList::endedMatch(int a, int b) {
  // For each of the two, its own opponent's entry is cleared as well, whoever that is.
  for (int id : {a, b}) {
    auto it = entries_.find(id);
    if (it == entries_.end() || it->second.opponentId == protocol::kNoPlayer) continue;
    const int opponent = it->second.opponentId;
    it->second.opponentId = protocol::kNoPlayer;
    refreshLine(id);
    auto other = entries_.find(opponent);
    if (other != entries_.end()) {
      other->second.opponentId = protocol::kNoPlayer;
      refreshLine(opponent);
    }
  }
  publish();
}

void ParticipantList::clearAll() {
  clearLines();
  entries_.clear();
  publish();
}

std::string ParticipantList::nameOf(int id) const {
  auto it = entries_.find(id);
  return it == entries_.end() ? std::string() : it->second.name;
}

int ParticipantList::opponentOf(int id) const {
  auto it = entries_.find(id);
  return it == entries_.end() ? protocol::kNoPlayer : it->second.opponentId;
}

int ParticipantList::selectedId() const {
  if (!window_) return protocol::kNoPlayer;
  const int selection = window_->listSelection();
  return selection < 0 ? protocol::kNoPlayer : window_->listItem(selection);
}

std::vector<RosterLine> ParticipantList::rosterLines() const {
  std::lock_guard lock(snapshotMutex_);
  return snapshot_;
}

void ParticipantList::refreshLine(int id) {
  const ParticipantEntry& entry = entries_[id];
  std::string text = entry.name;
  if (entry.opponentId != protocol::kNoPlayer) text += texts().matchStar + nameOf(entry.opponentId);
  // The selection is restored by position, as the list box keeps it.
  const int selection = window_ ? window_->listSelection() : -1;
  removeLine(id);
  addLine(text, id);
  if (selection >= 0 && window_) window_->listSelect(selection);
}

void ParticipantList::addLine(const std::string& text, int id) {
  if (window_) window_->listAdd(text, id);
}

void ParticipantList::removeLine(int id) {
  if (!window_) return;
  const int count = window_->listCount();
  for (int i = 0; i < count; ++i) {
    if (window_->listItem(i) == id) {
      window_->listDelete(i);
      return;
    }
  }
}

void ParticipantList::clearLines() {
  if (!window_) return;
  for (int n = window_->listCount(); n > 0; --n) window_->listDelete(0);
}

void ParticipantList::publish() {
  std::vector<RosterLine> lines;
  if (window_) {
    const int count = window_->listCount();
    for (int i = 0; i < count; ++i) {
      const int id = window_->listItem(i);
      lines.push_back(RosterLine{id, nameOf(id), opponentOf(id)});
    }
  }
  std::lock_guard lock(snapshotMutex_);
  snapshot_ = std::move(lines);
}

bool applyRosterLine(ParticipantList& list, const MessageFields& fields) {
  if (fields.is(protocol::kAdd)) {
    list.addParticipant(fields.number(1), std::string(fields.field(2)));
  } else if (fields.is(protocol::kDel)) {
    list.removeParticipant(fields.number(1));
  } else if (fields.is(protocol::kStList)) {
    const std::string_view kind = fields.field(1);
    if (!kind.empty() && kind[0] == protocol::kMatchStarted) {
      list.startedMatch(fields.number(2), fields.number(3));
    } else if (!kind.empty() && kind[0] == protocol::kMatchEnded) {
      list.endedMatch(fields.number(2), fields.number(3));
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace pentaro
