// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "client/lobby_client.h"

#include <array>

#include "net/line_builder.h"
#include "net/message_fields.h"
#include "net/protocol.h"

namespace pentaro {

namespace at = protocol::at;

LobbyClient::LobbyClient(UiThread& ui, LobbyView& view, ParticipantList& participants,
                         GameBoards& boards, RandomSource& random, int port)
    : ui_(ui),
      view_(view),
      participants_(participants),
      port_(port),
      match_(boards, view,
             MatchSession::Hooks{[this](const std::string& line) { send(line); },
                                 [this](int id) { return participants_.nameOf(id); },
                                 [this] { return connected_; }, [this] { return name_; }}),
      negotiation_(
          match_, boards, random, view, participants,
          [this](const std::string& line) { send(line); }, [this] { return name_; }) {}

LobbyClient::~LobbyClient() = default;

void LobbyClient::status(Status::Kind kind) {
  Status s;
  s.kind = kind;
  view_.statusChanged(s);
}

void LobbyClient::connect(const std::string& address, const std::string& name) {
  status(Status::Kind::kConnecting);
  address_ = address;
  name_ = name;
  welcomed_ = false;
  // The previous connection may still be closing: that is a failed connect too, said at once.
  if (!connection_.open(address_, port_)) handleConnectFailed();
}

void LobbyClient::send(const std::string& line) { connection_.sendLine(line); }

void LobbyClient::sendChat(const std::string& name, const std::string& text) {
  view_.chatAdded(name, text);
  send(LineBuilder(protocol::kChat).text(text));
}

// The worker's events are handled on the UI thread, one at a time and in arrival order. Once the
// UI has shut down they are dropped.
void LobbyClient::onConnected() {
  ui_.invokeAndWait([this] { handleConnected(); });
}

void LobbyClient::onLineReceived(std::string_view line) {
  const std::string copy(line);
  ui_.invokeAndWait([this, &copy] { handleLine(copy); });
}

void LobbyClient::onConnectFailed() {
  ui_.invokeAndWait([this] { handleConnectFailed(); });
}

void LobbyClient::onClosed() {
  ui_.invokeAndWait([this] { handleClosed(); });
}

void LobbyClient::handleConnected() {
  connected_ = true;
  status(Status::Kind::kConnected);
  send(LineBuilder(protocol::kNewC).text(name_));
  match_.model().finish();
  if (linkHandler_) linkHandler_(LinkEvent::kConnected);
}

void LobbyClient::handleConnectFailed() {
  view_.noticeAdded({.kind = Notice::Kind::kConnectFailed, .name = address_});
  status(Status::Kind::kNotConnected);
  if (linkHandler_) linkHandler_(LinkEvent::kConnectFailed);
}

// The dispatcher: one handler per command this client reads; the participant list and the
// negotiation take the rest, and a command nobody knows is ignored.
void LobbyClient::handleLine(const std::string& line) {
  using Handler = void (LobbyClient::*)(const MessageFields&);
  struct Route {
    std::string_view command;
    Handler handler;
  };
  static constexpr Route kRoutes[] = {
      {protocol::kChat, &LobbyClient::onChat},     {protocol::kMsg, &LobbyClient::onMessage},
      {protocol::kId, &LobbyClient::onId},         {protocol::kSetEFl, &LobbyClient::onMap},
      {protocol::kPlot, &LobbyClient::onPlot},     {protocol::kEndVs, &LobbyClient::onEndMatch},
      {protocol::kDel, &LobbyClient::onDeparture},
  };
  const MessageFields fields(line);
  for (const Route& route : kRoutes) {
    if (fields.is(route.command)) return (this->*route.handler)(fields);
  }
  if (applyRosterLine(participants_, fields)) {
    negotiation_.onRosterLine(fields);
  } else {
    negotiation_.handle(fields);
  }
}

void LobbyClient::onChat(const MessageFields& fields) {
  // The own line was shown when it was sent.
  if (fields.number(at::kPeer) == match_.fields().ownId) return;
  view_.chatAdded(fields.field(at::kChatName), fields.field(at::kChatText));
}

void LobbyClient::onMessage(const MessageFields& fields) {
  view_.hostMessageAdded(fields.field(at::kText));
}

void LobbyClient::onId(const MessageFields& fields) {
  const int id = fields.number(at::kPlayer);
  // Only a host's slot is an id; anything else is no lobby of this game, and would not even fit
  // the id's 16 bits.
  if (id < 0 || id >= protocol::kPlayerSlots) {
    view_.noticeAdded({.kind = Notice::Kind::kBadPlayerId, .number = id});
    connection_.disconnect();
    return;
  }
  match_.model().setOwnId(id);
  welcomed_ = true;
}

void LobbyClient::onMap(const MessageFields& fields) {
  std::array<int, Board::kCells> cells{};
  for (int i = 0; i < Board::kCells; ++i) cells[i] = fields.number(at::kFirstCell + i);
  match_.onMap(fields.number(at::kPeer), cells);
}

void LobbyClient::onPlot(const MessageFields& fields) {
  match_.onPlot(fields.number(at::kPeer), fields.number(at::kCalled));
}

void LobbyClient::onEndMatch(const MessageFields& fields) {
  match_.onEndMatch(fields.number(at::kPeer));
}

void LobbyClient::onDeparture(const MessageFields& fields) {
  const int id = fields.number(at::kPlayer);
  // Its slot may be a newcomer's next: nobody is followed into a stranger's match.
  negotiation_.stopFollowingPlayer(id);
  match_.onPlayerLeft(id, participants_.nameOf(id));
  applyRosterLine(participants_, fields);
}

void LobbyClient::handleClosed() {
  connected_ = false;  // first: the boards' reset then says nothing of waiting for a match
  // A match cannot outlive the lobby: it ends as when the opponent leaves, and watching ends.
  match_.onConnectionLost();
  negotiation_.stopFollowing();
  status(Status::Kind::kNotConnected);
  participants_.clearAll();
  view_.noticeAdded({.kind = Notice::Kind::kConnectionClosed});
  if (linkHandler_) linkHandler_(LinkEvent::kClosed);
}

}  // namespace pentaro
