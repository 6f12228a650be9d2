// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The participant list's context menu "コンピュータを呼ぶ" with the three strengths, and the
// computer players it has invited: each joins the lobby this program is in (the address it is
// connected to; "localhost" when it hosts) under a name numbered per strength, and leaves when
// this object goes, which the program entry does as the program closes. Owns the players; UI
// thread only.
#ifndef PENTARO_APP_COMPUTER_INVITATIONS_H_
#define PENTARO_APP_COMPUTER_INVITATIONS_H_

#include <QObject>
#include <QPoint>
#include <memory>
#include <string>
#include <vector>

#include "player/computer_player.h"
#include "shell/program.h"

class QWidget;

namespace pentaro {

class ComputerInvitations : public QObject {
  Q_OBJECT

 public:
  // `participantList` is the dialog's IDC_PARTICIPANTS control; it and `program` must outlive
  // this object.
  ComputerInvitations(QWidget& participantList, Program& program, int port);
  ~ComputerInvitations() override;

  // A computer player of `level` joins the current lobby; nothing while not connected.
  void invite(Level level);
  int invited() const { return static_cast<int>(players_.size()); }

 private:
  struct Invited {
    std::string name;
    std::unique_ptr<ComputerPlayer> player;
  };

  void showMenu(const QPoint& position);
  // "コンピュータ(ふつう)", then "コンピュータ(ふつう)2" and on: the first one nobody in the lobby
  // (and none of those invited, who may not be listed yet) goes by.
  std::string freeName(Level level) const;

  QWidget& list_;
  Program& program_;
  const int port_;
  std::vector<Invited> players_;
};

}  // namespace pentaro

#endif  // PENTARO_APP_COMPUTER_INVITATIONS_H_
