// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The lobbies found on the local network (DNS-SD), as the drop-down list of the server address
// field: the box takes the dialog's address edit as its own line edit, so typing an address works
// as before, and picking a found lobby fills in its address. It owns the found-lobbies model and,
// once browsing starts, the browser that keeps it; the browser's worker only posts a refresh.
// When lobbies cannot be found (no Avahi daemon) the chat log says so, once each time. UI thread.
#ifndef PENTARO_APP_FOUND_LOBBIES_BOX_H_
#define PENTARO_APP_FOUND_LOBBIES_BOX_H_

#include <QComboBox>
#include <memory>

#include "discovery/found_lobbies.h"
#include "discovery/lobby_browser.h"
#include "ui/lobby_view.h"

class QLineEdit;

namespace pentaro {

class FoundLobbiesBox : public QComboBox {
  Q_OBJECT

 public:
  // The item data of a lobby: the address that picking it fills in.
  static constexpr int kAddressRole = Qt::UserRole;

  // `addressEdit` (the dialog's IDC_SERVER_ADDRESS) becomes the box's line edit, in its place,
  // size and tab position. `view` (told when lobbies cannot be found) must outlive the box. Lobbies
  // on another port than `port` are listed but cannot be picked: the window connects to `port`
  // only.
  FoundLobbiesBox(QLineEdit& addressEdit, LobbyView& view, int port);
  // Ends browsing (its worker is joined) before anything else goes.
  ~FoundLobbiesBox() override;

  // Starts the browser; until then the model changes only by hand (tests).
  void startBrowsing();
  FoundLobbies& lobbies() { return lobbies_; }

 protected:
  void showPopup() override;

 private:
  // Rebuilds the list from the model; the typed address is left as it is.
  void refresh();
  void pick(int index);

  LobbyView& view_;
  const int port_;
  bool toldUnavailable_ = false;  // the chat log has said so since lobbies were last findable
  FoundLobbies lobbies_;
  std::unique_ptr<LobbyBrowser> browser_;  // after the model it keeps
};

}  // namespace pentaro

#endif  // PENTARO_APP_FOUND_LOBBIES_BOX_H_
