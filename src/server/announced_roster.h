// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The lobby server's own roster: the participant model kept from the very lines the server sends
// to every player (ADD, DEL, STLIST). Fed under the server's lock, so a newcomer's welcome always
// matches what the others were told, however far the players' own programs lag behind.
// Thread-safe: every operation takes mutex_.
#ifndef PENTARO_SERVER_ANNOUNCED_ROSTER_H_
#define PENTARO_SERVER_ANNOUNCED_ROSTER_H_

#include <string>
#include <string_view>
#include <vector>

#include "base/mutex.h"
#include "participants/participant_model.h"
#include "server/roster_view.h"

namespace pentaro {

class AnnouncedRoster : public RosterView {
 public:
  // Applies one line the server sent to everybody; lines that do not change the roster are
  // ignored.
  void apply(std::string_view line);
  // Forgets everybody (a new start of the server).
  void clear();
  std::string nameOf(int id) const;

  std::vector<RosterLine> rosterLines() const override;

 private:
  mutable Mutex mutex_;
  ParticipantModel model_ PENTARO_GUARDED_BY(mutex_);
};

}  // namespace pentaro

#endif  // PENTARO_SERVER_ANNOUNCED_ROSTER_H_
