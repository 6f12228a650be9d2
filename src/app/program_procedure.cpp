#include "app/program_procedure.h"

#include "app/controls.h"

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
  } else {
    program_.stopHosting();
  }
  view_.connectionChanged(program_.connection());
}

void ProgramProcedure::sendChat() {
  const std::string text = window_.text(IDC_CHAT_INPUT, kTextReadBytes);
  if (text.empty()) return;
  program_.sendChat(text);
  window_.setText(IDC_CHAT_INPUT, "");
}

void ProgramProcedure::shutDown() {
  takeFields();
  program_.shutDown();
}

}  // namespace pentaro
