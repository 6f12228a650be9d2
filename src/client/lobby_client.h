// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's side of the connection to a lobby server: connecting and greeting, the dispatcher
// of received lines, chat, the participant list, and (through MatchNegotiation and MatchSession)
// challenges, watching and match play. What happens is reported to the view as typed events.
//
// Threads: the connection worker hands every event (connected, each line, closed) to the UI
// thread with invokeAndWait, in arrival order, so all the client's state is the UI thread's and
// a line is handled whole; while a question is open, later lines wait. The UI thread calls the
// public operations.
#ifndef PENTARO_CLIENT_LOBBY_CLIENT_H_
#define PENTARO_CLIENT_LOBBY_CLIENT_H_

#include <functional>
#include <string>
#include <string_view>

#include "client/match_negotiation.h"
#include "client/match_session.h"
#include "client/participant_list.h"
#include "game/random_source.h"
#include "net/message_fields.h"
#include "net/tcp_connection.h"
#include "ui/lobby_view.h"
#include "ui/ui_thread.h"

namespace pentaro {

class LobbyClient final : private TcpConnection::Handler {
 public:
  // What became of a connection, for the program that opened it.
  enum class LinkEvent { kConnected, kConnectFailed, kClosed };

  LobbyClient(UiThread& ui, LobbyView& view, ParticipantList& participants, GameBoards& boards,
              RandomSource& random, int port);
  // Disconnects and waits for the connection worker (the connection is the last member).
  ~LobbyClient();

  // Called on the UI thread once the client has handled the event itself.
  void setLinkHandler(std::function<void(LinkEvent)> handler) { linkHandler_ = std::move(handler); }

  // Connects to `address` and joins the lobby as `name` (CP932).
  void connect(const std::string& address, const std::string& name);
  // Shows "name : text" and sends it as CHAT (nothing is sent while not connected).
  void sendChat(const std::string& name, const std::string& text);
  // One line to the server; nothing when not connected.
  void send(const std::string& line);
  // Ends the connection; the closing follows on the connection worker. Any thread.
  void disconnect() { connection_.disconnect(); }

  bool connected() const { return connected_; }
  // The lobby gave this player an id since the last connect: it was in, not turned away.
  bool welcomed() const { return welcomed_; }
  // The name this player joins the lobby under.
  const std::string& name() const { return name_; }
  MatchSession& match() { return match_; }
  const MatchSession& match() const { return match_; }
  const MatchFields& fields() const { return match_.fields(); }
  MatchNegotiation& negotiation() { return negotiation_; }

 private:
  void onConnected() override;
  void onConnectFailed() override;
  void onClosed() override;
  void onLineReceived(std::string_view line) override;

  void handleConnected();
  void handleConnectFailed();
  void handleLine(const std::string& line);
  void handleClosed();
  void onChat(const MessageFields& fields);
  void onMessage(const MessageFields& fields);
  void onId(const MessageFields& fields);
  void onMap(const MessageFields& fields);
  void onPlot(const MessageFields& fields);
  void onEndMatch(const MessageFields& fields);
  void onDeparture(const MessageFields& fields);
  void status(Status::Kind kind);

  UiThread& ui_;
  LobbyView& view_;
  ParticipantList& participants_;
  const int port_;
  std::function<void(LinkEvent)> linkHandler_;
  bool connected_ = false;  // UI thread
  bool welcomed_ = false;   // UI thread
  std::string address_;     // UI thread: where the last connect went
  std::string name_;        // UI thread: the name of the last connect
  MatchSession match_;
  MatchNegotiation negotiation_;
  TcpConnection connection_{*this};  // last: its worker ends before the members it uses
};

}  // namespace pentaro

#endif  // PENTARO_CLIENT_LOBBY_CLIENT_H_
