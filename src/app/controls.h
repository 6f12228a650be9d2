// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Identifiers of the main dialog's controls. The dialog's procedure and view address every
// control by these numbers; nothing outside the Qt front end knows them.
#ifndef PENTARO_APP_CONTROLS_H_
#define PENTARO_APP_CONTROLS_H_

namespace pentaro {

enum ControlId : int {
  IDC_CHAT_LOG = 1008,
  IDC_CHAT_INPUT = 1009,
  IDC_SERVER_ADDRESS = 1011,
  IDC_CONNECT = 1012,
  IDC_BE_SERVER = 1013,
  IDC_PARTICIPANTS = 1015,
  IDC_CHALLENGE = 1016,
  IDC_PLAYER_NAME = 1017,
  IDC_END_MATCH = 1018,
  IDC_SPECTATE = 1019,
  IDC_STATUS = 1020,
  IDC_CHAT_SEND = 1021,
  IDC_PLACE_MANUALLY = 1022,
  IDC_OWN_BOARD = 1023,
  IDC_OPPONENT_BOARD = 1024,
  IDC_OWN_CAPTION = 1025,
  IDC_OPPONENT_CAPTION = 1026,
  IDC_AUTO_PLACE_REST = 1027,
};

// What an edit field holds, in CP932 bytes: a text read into an 80-byte buffer.
inline constexpr int kTextReadBytes = 78;

}  // namespace pentaro

#endif  // PENTARO_APP_CONTROLS_H_
