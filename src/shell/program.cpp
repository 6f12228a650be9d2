#include "shell/program.h"

#include <cstdio>

#include "game/board_painter.h"
#include "net/host_addresses.h"
#include "text/texts.h"
#include "ui/chat_log.h"
#include "ui/controls.h"

namespace pentaro {
namespace {

// Tells the host where players on other machines connect: one chat line per address. When the
// interfaces cannot be read there is nothing true to say.
void showHostAddresses(Window& window) {
  const std::optional<std::vector<HostAddress>> addresses = hostAddresses();
  if (!addresses) return;
  if (addresses->empty()) appendChatLog(window, texts().onlyThisMachine);
  for (const HostAddress& host : *addresses) {
    appendChatLog(window,
                  texts().hostAddressPrefix + host.address + " (" + host.interfaceName + ")");
  }
}

}  // namespace

Program::Program(Window& window, UiThread& ui, Options options)
    : window_(window),
      ui_(ui),
      options_(std::move(options)),
      boards_(random_, [this] { window_.post(CMD_REPAINT_BOARDS); }),
      client_(ui, window, participants_, boards_, random_, options_.port),
      settings_(options_.settingsPath) {
  server_.setRoster(&serverRoster_);
  server_.setAnnouncementSink([this](std::string_view line) { serverRoster_.apply(line); });
  // The server's end is posted: the server never waits for the UI thread.
  server_.setEndedHandler([this] { ui_.post([this] { onServerEnded(); }); });
}

Program::~Program() {
  // Workers waiting for the UI thread are released first; the members' destructors then stop and
  // join them (client, then server).
  ui_.shutDown();
}

void Program::initDialog() {
  boards_.reset();
  participants_.attach(&window_);
  settings_.load(window_);
}

void Program::command(int id, std::uint32_t argument) {
  switch (id) {
    case CMD_OWN_BOARD_CLICK:
      clickOwnBoard(argument);
      break;
    case IDC_CONNECT:
      connectToggled();
      break;
    case IDC_BE_SERVER:
      serverToggled();
      break;
    case IDC_CHALLENGE:
      if (const int target = participants_.selectedId(); target != protocol::kNoPlayer) {
        client_.negotiation().challenge(target);
      }
      break;
    case IDC_SPECTATE:
      if (const int target = participants_.selectedId(); target != protocol::kNoPlayer) {
        boards_.abandonPlacement();
        client_.negotiation().requestWatch(target);
      }
      break;
    case IDC_END_MATCH:
      client_.match().endMatch(true);
      break;
    case IDC_CHAT_SEND:
      sendChatInput();
      break;
    case IDC_PLACE_MANUALLY:
      placeManually();
      break;
    case IDC_AUTO_PLACE_REST:
      autoPlaceRest();
      break;
    default:
      break;  // CMD_REPAINT_BOARDS is the front end's; anything else means nothing here
  }
}

void Program::shutDown() {
  server_.closeAll();
  client_.disconnect();
  // The window still shows while it closes: the log says so as well as standard error.
  if (!settings_.save(window_)) {
    std::fprintf(stderr, "pentaro: could not save the settings to %s\n",
                 options_.settingsPath.c_str());
    appendChatLog(window_, texts().settingsNotSaved);
  }
}

void Program::paint(int boardControl, Canvas& canvas) const {
  const MatchModel& match = client_.match().model();
  const MatchModel::Side toMove = match.sideToMove();
  if (boardControl == IDC_OWN_BOARD) {
    paintBoard(canvas, boards_.own(), true,
               BoardMarks{toMove == MatchModel::Side::kLeft, match.lastCall()});
  } else {
    const bool show = client_.fields().watching() || boards_.gameOver();
    paintBoard(canvas, boards_.opponent(), show,
               BoardMarks{toMove == MatchModel::Side::kRight, match.lastCall()});
  }
}

void Program::startServer() {
  serverRoster_.clear();
  if (!server_.startServer(options_.port)) {
    stopServer();
    return;
  }
  if (server_.listenError() != 0) {
    // Another program holds the port: say so, and neither connect this program's client to
    // whoever listens there nor replace the saved address. The server's end follows at once.
    char line[256];
    std::snprintf(line, sizeof line, texts().hostingFailedFormat.c_str(), options_.port);
    appendChatLog(window_, line);
    return;
  }
  window_.setText(IDC_SERVER_ADDRESS, "localhost");
  showHostAddresses(window_);
  client_.startConnect();
}

void Program::stopServer() {
  client_.disconnect();
  server_.stopServer();
}

void Program::onServerEnded() {
  const bool neverListened = server_.listenError() != 0;
  stopServer();
  if (!neverListened) appendChatLog(window_, texts().serverClosed);
  setConnectionControls(window_, true, true);
}

void Program::connectToggled() {
  const bool pressed = window_.isPressed(IDC_CONNECT);
  setConnectionControls(window_, !pressed, false);
  if (pressed) {
    client_.startConnect();
  } else {
    client_.disconnect();
  }
}

void Program::serverToggled() {
  const bool pressed = window_.isPressed(IDC_BE_SERVER);
  setConnectionControls(window_, !pressed, true);
  if (pressed) {
    startServer();
  } else {
    stopServer();
  }
}

void Program::sendChatInput() {
  const std::string text = window_.text(IDC_CHAT_INPUT, kTextReadBytes);
  if (text.empty()) return;
  client_.sendChat(text);
  window_.setText(IDC_CHAT_INPUT, "");
}

void Program::clickOwnBoard(std::uint32_t argument) {
  const int column = static_cast<int>(argument & 0xFFFF);
  const int row = static_cast<int>(argument >> 16);
  if (boards_.nextToPlace() >= 1) {
    if (auto status = boards_.placeNext(column, row)) window_.setText(IDC_STATUS, *status);
    return;
  }
  client_.match().clickOwnBoard(boards_.own().cell(column, row));
}

void Program::placeManually() {
  if (client_.fields().playing()) return;
  window_.setText(IDC_STATUS, boards_.beginManualPlacement());
}

void Program::autoPlaceRest() {
  if (client_.fields().playing()) return;
  window_.setText(IDC_STATUS, texts().autoPlacementDone);
  if (!boards_.autoPlaceRest()) boards_.reset();
}

}  // namespace pentaro
