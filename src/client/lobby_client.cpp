#include "client/lobby_client.h"

#include <array>

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

LobbyClient::~LobbyClient() { stop(); }

void LobbyClient::startConnect() {
  window_.setText(IDC_STATUS, texts().connecting);
  open(window_.text(IDC_SERVER_ADDRESS, kTextReadBytes), port_);
}

void LobbyClient::send(const std::string& line) { sendLine(line); }

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

void LobbyClient::onClosed() {
  ui_.invokeAndWait([this] { handleClosed(); });
}

void LobbyClient::handleConnected() {
  connected_ = true;
  window_.setText(IDC_STATUS, texts().connected);
  send(LineBuilder(protocol::kNewC).text(window_.text(IDC_PLAYER_NAME, kTextReadBytes)));
  match_.fields().opponentId = MatchFields::kNone;
}

void LobbyClient::handleLine(const std::string& line) {
  const MessageFields fields(line);
  MatchFields& match = match_.fields();
  if (fields.is(protocol::kChat)) {
    // The own line was shown when it was sent.
    if (fields.number(1) != match.ownId) {
      appendChatLog(window_, std::string(fields.field(2)) + texts().chatSeparator +
                                 std::string(fields.field(3)));
    }
  } else if (fields.is(protocol::kMsg)) {
    appendChatLog(window_, fields.field(1));
  } else if (fields.is(protocol::kId)) {
    match.ownId = static_cast<std::int16_t>(fields.number(1));
  } else if (fields.is(protocol::kSetEFl)) {
    std::array<int, Board::kCells> cells{};
    for (int i = 0; i < Board::kCells; ++i) cells[i] = fields.number(2 + i);
    match_.onMap(fields.number(1), cells);
  } else if (fields.is(protocol::kPlot)) {
    match_.onPlot(fields.number(1), fields.number(2));
  } else if (fields.is(protocol::kEndVs)) {
    match_.onEndMatch(fields.number(1));
  } else if (!applyRosterLine(participants_, fields)) {
    negotiation_.handle(fields);  // the rest, or a command this client does not know
  }
}

void LobbyClient::handleClosed() {
  connected_ = false;
  window_.setText(IDC_STATUS, texts().notConnected);
  participants_.clearAll();
  appendChatLog(window_, texts().connectionClosed);
  setConnectionControls(window_, true, false);
}

}  // namespace pentaro
