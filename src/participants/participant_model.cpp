// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "participants/participant_model.h"

#include <algorithm>

#include "net/protocol.h"
#include "text/texts.h"
#include "ui/list_order.h"

namespace pentaro {

void ParticipantModel::addParticipant(int id, const std::string& name) {
  const int index = insertLine(Line{name, id});
  entries_[id] = ParticipantEntry{name, protocol::kNoPlayer};
  if (observer_) observer_->lineInserted(index, lines_[index]);
}

void ParticipantModel::removeParticipant(int id) {
  const int index = removeLine(id);
  entries_.erase(id);
  if (index >= 0 && observer_) observer_->lineRemoved(index);
  // A player who leaves mid-match leaves its partner free: no "★" line names the departed, also
  // when two announcements made two players name it.
  for (auto& [other, entry] : entries_) {
    if (entry.opponentId != id) continue;
    entry.opponentId = protocol::kNoPlayer;
    rebuildLine(other);
  }
}

void ParticipantModel::startedMatch(int a, int b) {
  entries_[a].opponentId = b;
  rebuildLine(a);
  entries_[b].opponentId = a;
  rebuildLine(b);
}

void ParticipantModel::endedMatch(int a, int b) {
  // For each of the two, its own opponent's entry is cleared as well, whoever that is.
  for (int id : {a, b}) {
    auto it = entries_.find(id);
    if (it == entries_.end() || it->second.opponentId == protocol::kNoPlayer) continue;
    const int opponent = it->second.opponentId;
    it->second.opponentId = protocol::kNoPlayer;
    rebuildLine(id);
    auto other = entries_.find(opponent);
    if (other != entries_.end()) {
      other->second.opponentId = protocol::kNoPlayer;
      rebuildLine(opponent);
    }
  }
}

void ParticipantModel::clear() {
  lines_.clear();
  entries_.clear();
  if (observer_) observer_->cleared();
}

std::string ParticipantModel::nameOf(int id) const {
  auto it = entries_.find(id);
  return it == entries_.end() ? std::string() : it->second.name;
}

int ParticipantModel::opponentOf(int id) const {
  auto it = entries_.find(id);
  return it == entries_.end() ? protocol::kNoPlayer : it->second.opponentId;
}

int ParticipantModel::idAt(int index) const {
  if (index < 0 || index >= static_cast<int>(lines_.size())) return protocol::kNoPlayer;
  return lines_[index].id;
}

std::vector<RosterLine> ParticipantModel::rosterLines() const {
  std::vector<RosterLine> roster;
  roster.reserve(lines_.size());
  for (const Line& line : lines_) roster.push_back({line.id, nameOf(line.id), opponentOf(line.id)});
  return roster;
}

void ParticipantModel::rebuildLine(int id) {
  const ParticipantEntry& entry = entries_[id];
  std::string text = entry.name;
  if (entry.opponentId != protocol::kNoPlayer) text += texts().matchStar + nameOf(entry.opponentId);
  const int from = removeLine(id);
  const int to = insertLine(Line{std::move(text), id});
  if (observer_) observer_->lineRebuilt(from, to, lines_[to]);
}

int ParticipantModel::insertLine(Line line) {
  const auto at = std::ranges::upper_bound(
      lines_, std::string_view(line.text),
      [](std::string_view a, std::string_view b) { return listLess(a, b); }, &Line::text);
  const auto index = at - lines_.begin();
  lines_.insert(at, std::move(line));
  return static_cast<int>(index);
}

int ParticipantModel::removeLine(int id) {
  const auto it = std::ranges::find(lines_, id, &Line::id);
  if (it == lines_.end()) return -1;
  const int index = static_cast<int>(it - lines_.begin());
  lines_.erase(it);
  return index;
}

}  // namespace pentaro
