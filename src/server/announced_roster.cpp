// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "server/announced_roster.h"

#include "net/message_fields.h"
#include "participants/roster_announcement.h"

namespace pentaro {

void AnnouncedRoster::apply(std::string_view line) {
  MutexLock lock(mutex_);
  applyRosterLine(model_, MessageFields(line));
}

void AnnouncedRoster::clear() {
  MutexLock lock(mutex_);
  model_.clear();
}

std::string AnnouncedRoster::nameOf(int id) const {
  MutexLock lock(mutex_);
  return model_.nameOf(id);
}

std::vector<RosterLine> AnnouncedRoster::rosterLines() const {
  MutexLock lock(mutex_);
  return model_.rosterLines();
}

}  // namespace pentaro
