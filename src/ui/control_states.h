// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the window's connection and match controls show in each state of the core, shared by every
// view that has such controls: which toggle is down, and what may be used.
#ifndef PENTARO_UI_CONTROL_STATES_H_
#define PENTARO_UI_CONTROL_STATES_H_

#include "ui/lobby_view.h"

namespace pentaro {

struct ConnectionControls {
  bool connectPressed = false;
  bool hostPressed = false;
  bool connectEnabled = true;
  bool hostEnabled = true;
  bool fieldsEnabled = true;  // the name and the address
};

// While one toggle is down the other is disabled, and so are the name and the address.
constexpr ConnectionControls connectionControls(ConnectionState state) {
  switch (state) {
    case ConnectionState::kIdle:
      return {};
    case ConnectionState::kConnecting:
    case ConnectionState::kConnected:
    case ConnectionState::kRejoining:
      return {true, false, true, false, false};
    case ConnectionState::kHosting:
      return {false, true, false, true, false};
  }
  return {};
}

struct MatchControls {
  bool idleEnabled = true;  // "対戦", "観戦", "手動配置" and "残り自動配置"
  bool endEnabled = false;  // "対戦終了"
};

constexpr MatchControls matchControls(MatchState state) {
  const bool playing = state == MatchState::kPlaying;
  return {!playing, playing};
}

}  // namespace pentaro

#endif  // PENTARO_UI_CONTROL_STATES_H_
