// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The LobbyView of the main dialog: shows the core's events in the dialog's controls, with the
// words made by view_texts.h, and asks the challenge question in a question box. Knows the
// selected participant for the commands that name one. Does not own the dialog; UI thread only.
#ifndef PENTARO_APP_QT_VIEW_H_
#define PENTARO_APP_QT_VIEW_H_

#include "app/qt_window.h"
#include "ui/chat_log.h"
#include "ui/lobby_view.h"

namespace pentaro {

class MainDialog;

class QtView : public LobbyView {
 public:
  QtView(MainDialog& dialog, QtWindow& window) : dialog_(dialog), window_(window) {}

  void connectionChanged(ConnectionState state) override;
  void statusChanged(const Status& status) override;
  void noticeAdded(const Notice& notice) override;
  void chatAdded(std::string_view name, std::string_view text) override;
  void hostMessageAdded(std::string_view text) override;
  void settingsChanged(std::string_view name, std::string_view address) override;
  void participantInserted(int index, std::string_view text, int id) override;
  void participantRemoved(int index) override;
  void participantRebuilt(int from, int to, std::string_view text, int id) override;
  void participantsCleared() override;
  void matchChanged(MatchState state) override;
  void captionsChanged(std::string_view left, std::string_view right) override;
  void boardsChanged() override;
  bool askChallenge(std::string_view name) override;
  void requestAttention() override;

  // The PlayerId of the selected participant line; -1 with none.
  int selectedParticipant() const;

 private:
  void addToLog(std::string_view line);

  MainDialog& dialog_;
  QtWindow& window_;
  ChatLog log_;
};

}  // namespace pentaro

#endif  // PENTARO_APP_QT_VIEW_H_
