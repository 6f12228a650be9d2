#include "client/announced_roster.h"

#include "net/message_fields.h"

namespace pentaro {

AnnouncedRoster::AnnouncedRoster() { list_.attach(&listBox_); }

void AnnouncedRoster::apply(std::string_view line) {
  std::lock_guard lock(mutex_);
  applyRosterLine(list_, MessageFields(line));
}

void AnnouncedRoster::clear() {
  std::lock_guard lock(mutex_);
  list_.clearAll();
}

std::string AnnouncedRoster::nameOf(int id) const {
  std::lock_guard lock(mutex_);
  return list_.nameOf(id);
}

std::vector<RosterLine> AnnouncedRoster::rosterLines() const {
  std::lock_guard lock(mutex_);
  return list_.rosterLines();
}

}  // namespace pentaro
