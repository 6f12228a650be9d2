// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/qt_view.h"

#include "app/controls.h"
#include "app/main_dialog.h"
#include "ui/control_states.h"
#include "ui/view_texts.h"

namespace pentaro {

void QtView::connectionChanged(ConnectionState state) {
  const ConnectionControls c = connectionControls(state);
  window_.setPressed(IDC_CONNECT, c.connectPressed);
  window_.setPressed(IDC_BE_SERVER, c.hostPressed);
  window_.setEnabled(IDC_CONNECT, c.connectEnabled);
  window_.setEnabled(IDC_BE_SERVER, c.hostEnabled);
  window_.setEnabled(IDC_SERVER_ADDRESS, c.fieldsEnabled);
  window_.setEnabled(IDC_PLAYER_NAME, c.fieldsEnabled);
}

void QtView::statusChanged(const Status& status) {
  window_.setText(IDC_STATUS, statusText(status));
}

void QtView::addToLog(std::string_view line) {
  if (log_.add(line)) {
    window_.setText(IDC_CHAT_LOG, log_.text());
  } else {
    window_.appendText(IDC_CHAT_LOG, std::string(line) + "\r\n");
  }
}

void QtView::noticeAdded(const Notice& notice) { addToLog(noticeText(notice)); }

void QtView::chatAdded(std::string_view name, std::string_view text) {
  addToLog(chatText(name, text));
}

void QtView::hostMessageAdded(std::string_view text) { addToLog(hostMessageText(text)); }

void QtView::settingsChanged(std::string_view name, std::string_view address) {
  window_.setText(IDC_PLAYER_NAME, name);
  window_.setText(IDC_SERVER_ADDRESS, address);
}

void QtView::participantInserted(int index, std::string_view text, int id) {
  window_.listInsert(index, text, id);
}

void QtView::participantRemoved(int index) { window_.listDelete(index); }

void QtView::participantRebuilt(int from, int to, std::string_view text, int id) {
  // The selection stays with its participant: a rebuilt line that sorts to another place takes
  // the highlight along, so that "対戦" never goes to somebody the user did not pick.
  const bool wasSelected = from >= 0 && window_.listSelection() == from;
  if (from >= 0) window_.listDelete(from);
  window_.listInsert(to, text, id);
  if (wasSelected) window_.listSelect(to);
}

void QtView::participantsCleared() {
  for (int n = window_.listCount(); n > 0; --n) window_.listDelete(0);
}

int QtView::selectedParticipant() const { return window_.listItem(window_.listSelection()); }

void QtView::matchChanged(MatchState state) {
  const MatchControls c = matchControls(state);
  for (int id : {IDC_CHALLENGE, IDC_SPECTATE, IDC_PLACE_MANUALLY, IDC_AUTO_PLACE_REST}) {
    window_.setEnabled(id, c.idleEnabled);
  }
  window_.setEnabled(IDC_END_MATCH, c.endEnabled);
}

void QtView::captionsChanged(std::string_view left, std::string_view right) {
  window_.setText(IDC_OWN_CAPTION, left);
  window_.setText(IDC_OPPONENT_CAPTION, right);
}

void QtView::boardsChanged() { dialog_.repaintBoards(); }

bool QtView::askChallenge(std::string_view name) {
  return QtWindow::ask(dialog_, challengeQuestion(name), questionCaption());
}

void QtView::requestAttention() { window_.requestAttention(); }

}  // namespace pentaro
