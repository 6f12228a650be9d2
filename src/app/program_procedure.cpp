// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/program_procedure.h"

#include <algorithm>
#include <vector>

#include "app/controls.h"
#include "text/texts.h"

namespace pentaro {

void ProgramProcedure::command(int id) {
  switch (id) {
    case IDC_CONNECT:
      connectToggled();
      break;
    case IDC_BE_SERVER:
      hostToggled();
      break;
    case IDC_CHALLENGE:
      program_.challenge(view_.selectedParticipant());
      break;
    case IDC_SPECTATE:
      program_.watch(view_.selectedParticipant());
      break;
    case IDC_END_MATCH:
      program_.endMatch();
      break;
    case IDC_CHAT_SEND:
      sendChat();
      break;
    case IDC_PLACE_MANUALLY:
      program_.placeManually();
      break;
    case IDC_AUTO_PLACE_REST:
      program_.autoPlaceRest();
      break;
    default:
      break;
  }
}

void ProgramProcedure::takeFields() {
  program_.setPlayerName(window_.text(IDC_PLAYER_NAME, kTextReadBytes));
  program_.setServerAddress(window_.text(IDC_SERVER_ADDRESS, kTextReadBytes));
}

void ProgramProcedure::connectToggled() {
  if (window_.isPressed(IDC_CONNECT)) {
    takeFields();
    program_.connect();
  } else {
    program_.disconnect();
  }
  // The toggle shows what the program did, also when it did nothing.
  view_.connectionChanged(program_.connection());
}

void ProgramProcedure::hostToggled() {
  if (window_.isPressed(IDC_BE_SERVER)) {
    takeFields();
    program_.host();
  } else if (!lobbyMatchesRunning() ||
             window_.askInDialog(texts().closeWhileOthersPlay, texts().boxCaption)) {
    program_.stopHosting();
  }
  // Also presses the toggle again when the player chose to keep hosting.
  view_.connectionChanged(program_.connection());
}

bool ProgramProcedure::lobbyMatchesRunning() const {
  if (program_.connection() != ConnectionState::kHosting) return false;
  // The participant model knows every match of the lobby, the own one included.
  const std::vector<RosterLine> lines = program_.participants().rosterLines();
  return std::any_of(lines.begin(), lines.end(),
                     [](const RosterLine& line) { return line.opponent >= 0; });
}

void ProgramProcedure::sendChat() {
  const std::string text = window_.text(IDC_CHAT_INPUT, kTextReadBytes);
  if (text.empty()) return;
  program_.sendChat(text);
  window_.setText(IDC_CHAT_INPUT, "");
}

void ProgramProcedure::shutDown() {
  takeFields();
  // The chat log closes with the window: a failed save is told in a box the player sees. The
  // fields keep what was typed, which is what could not be saved.
  if (!program_.shutDown()) window_.warn(texts().settingsNotSaved, texts().boxCaption);
}

}  // namespace pentaro
