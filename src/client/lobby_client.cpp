#include "client/lobby_client.h"

#include <array>
#include <cstdio>

#include "net/line_builder.h"
#include "net/message_fields.h"
#include "net/protocol.h"
#include "text/texts.h"
#include "ui/chat_log.h"
#include "ui/controls.h"

namespace pentaro {

LobbyClient::LobbyClient(UiThread& ui, Window& window, ParticipantList& participants,
                         GameBoards& boards, RandomSource& random, int port)
    : ui_(ui),
      window_(window),
      participants_(participants),
      port_(port),
      match_(boards, window,
             MatchSession::Hooks{[this](const std::string& line) { send(line); },
                                 [this](int id) { return participants_.nameOf(id); },
                                 [this] { return connected_; }}),
      negotiation_(match_, boards, random, window, participants,
                   [this](const std::string& line) { send(line); }) {}

LobbyClient::~LobbyClient() = default;

void LobbyClient::startConnect() {
  window_.setText(IDC_STATUS, texts().connecting);
  address_ = window_.text(IDC_SERVER_ADDRESS, kTextReadBytes);
  // The previous connection may still be closing: that is a failed connect too, said at once.
  if (!connection_.open(address_, port_)) handleConnectFailed();
}

void LobbyClient::send(const std::string& line) { connection_.sendLine(line); }

void LobbyClient::sendChat(const std::string& text) {
  appendChatLog(window_,
                window_.text(IDC_PLAYER_NAME, kTextReadBytes) + texts().chatSeparator + text);
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
  window_.setText(IDC_STATUS, texts().connected);
  send(LineBuilder(protocol::kNewC).text(window_.text(IDC_PLAYER_NAME, kTextReadBytes)));
  match_.fields().opponentId = MatchFields::kNone;
}

void LobbyClient::handleConnectFailed() {
  char line[kTextReadBytes + 128];
  std::snprintf(line, sizeof line, texts().connectFailedFormat.c_str(), address_.c_str());
  appendChatLog(window_, line);
  window_.setText(IDC_STATUS, texts().notConnected);
  // A connect of its own (not the host's own client) leaves the controls idle again.
  if (window_.isPressed(IDC_CONNECT)) setConnectionControls(window_, true, false);
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
  if (!applyRosterLine(participants_, fields)) negotiation_.handle(fields);
}

void LobbyClient::onChat(const MessageFields& fields) {
  // The own line was shown when it was sent.
  if (fields.number(1) == match_.fields().ownId) return;
  appendChatLog(
      window_, std::string(fields.field(2)) + texts().chatSeparator + std::string(fields.field(3)));
}

void LobbyClient::onMessage(const MessageFields& fields) {
  appendChatLog(window_, fields.field(1));
}

void LobbyClient::onId(const MessageFields& fields) {
  match_.fields().ownId = static_cast<std::int16_t>(fields.number(1));
}

void LobbyClient::onMap(const MessageFields& fields) {
  std::array<int, Board::kCells> cells{};
  for (int i = 0; i < Board::kCells; ++i) cells[i] = fields.number(2 + i);
  match_.onMap(fields.number(1), cells);
}

void LobbyClient::onPlot(const MessageFields& fields) {
  match_.onPlot(fields.number(1), fields.number(2));
}

void LobbyClient::onEndMatch(const MessageFields& fields) { match_.onEndMatch(fields.number(1)); }

void LobbyClient::onDeparture(const MessageFields& fields) {
  const int id = fields.number(1);
  match_.onPlayerLeft(id, participants_.nameOf(id));
  applyRosterLine(participants_, fields);
}

void LobbyClient::handleClosed() {
  connected_ = false;
  window_.setText(IDC_STATUS, texts().notConnected);
  participants_.clearAll();
  appendChatLog(window_, texts().connectionClosed);
  setConnectionControls(window_, true, false);
}

}  // namespace pentaro
