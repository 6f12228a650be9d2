// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/computer_invitations.h"

#include <QMenu>
#include <QWidget>
#include <chrono>
#include <ctime>
#include <set>

#include "app/qt_text.h"
#include "text/texts.h"

namespace pentaro {

ComputerInvitations::ComputerInvitations(QWidget& participantList, Program& program, int port)
    : list_(participantList), program_(program), port_(port) {
  list_.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&list_, &QWidget::customContextMenuRequested, this, &ComputerInvitations::showMenu);
}

// The players leave the lobby one by one, each ending a match it is still in.
ComputerInvitations::~ComputerInvitations() = default;

void ComputerInvitations::showMenu(const QPoint& position) {
  QMenu menu;
  QMenu* strengths = menu.addMenu(toQString(texts().inviteComputer));
  strengths->setEnabled(program_.client().connected());
  for (Level level : {Level::kWeak, Level::kNormal, Level::kStrong}) {
    strengths->addAction(toQString(levelName(level)), this, [this, level] { invite(level); });
  }
  menu.exec(list_.mapToGlobal(position));
}

void ComputerInvitations::invite(Level level) {
  if (!program_.client().connected()) return;
  // Those whose lobby has gone (the server stopped, the connection dropped) are let go.
  std::erase_if(players_,
                [](const Invited& invited) { return invited.player->record().lostConnection; });
  ComputerPlayer::Options options;
  // Where this program is connected; a host's own connection goes to this machine.
  options.host = program_.lobbyAddress();
  options.port = port_;
  options.name = freeName(level);
  options.level = level;
  options.seed = static_cast<std::uint32_t>(
      std::chrono::steady_clock::now().time_since_epoch().count() ^ std::time(nullptr));
  players_.push_back(Invited{options.name, std::make_unique<ComputerPlayer>(options)});
}

std::string ComputerInvitations::freeName(Level level) const {
  std::set<std::string> taken;
  for (const Invited& invited : players_) taken.insert(invited.name);
  for (const RosterLine& line : program_.participants().rosterLines()) taken.insert(line.name);
  const std::string base =
      texts().computerNamePrefix + levelName(level) + texts().computerNameSuffix;
  std::string name = base;
  for (int number = 2; taken.contains(name); ++number) name = base + std::to_string(number);
  return name;
}

}  // namespace pentaro
