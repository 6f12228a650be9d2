// Identifiers of the main dialog's controls and of its two private commands. The game and lobby
// logic address every control by these numbers, the way a dialog program does.
#ifndef PENTARO_UI_CONTROLS_H_
#define PENTARO_UI_CONTROLS_H_

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

// Commands that no control sends; they are always posted, never run inline.
enum DialogCommand : int {
  CMD_REPAINT_BOARDS = 101,
  CMD_OWN_BOARD_CLICK = 102,  // argument: column | row << 16
};

// Text limits, in CP932 bytes.
inline constexpr int kTextReadBytes = 78;  // a window text read into an 80-byte buffer: what an
                                           // edit field holds
inline constexpr int kCaptionNameBytes = 38;  // the own name as board caption
inline constexpr int kNoteNameBytes = 39;     // names read for notes and result texts
inline constexpr int kChatLogLimitBytes = 32000;

}  // namespace pentaro

#endif  // PENTARO_UI_CONTROLS_H_
