// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The participant list as the lobby server reads it for a newcomer's welcome: each line from the
// top, with the participant's name and current opponent. Safe from any thread.
#ifndef PENTARO_SERVER_ROSTER_VIEW_H_
#define PENTARO_SERVER_ROSTER_VIEW_H_

#include <vector>

#include "participants/participant_model.h"

namespace pentaro {

class RosterView {
 public:
  virtual ~RosterView() = default;
  virtual std::vector<RosterLine> rosterLines() const = 0;
};

}  // namespace pentaro

#endif  // PENTARO_SERVER_ROSTER_VIEW_H_
