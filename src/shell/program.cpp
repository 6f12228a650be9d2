// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/program.h"

#include <cstdio>

#include "game/board_painter.h"
#include "net/host_addresses.h"
#include "text/cp932.h"
#include "text/texts.h"

namespace pentaro {
namespace {

std::string field(std::string_view text) {
  return std::string(cp932::truncate(text, Program::kFieldBytes));
}

}  // namespace

Program::Program(LobbyView& view, UiThread& ui, Options options)
    : view_(view),
      ui_(ui),
      options_(std::move(options)),
      boards_(random_, [this] { view_.boardsChanged(); }),
      client_(ui, view, participants_, boards_, random_, options_.port),
      settings_(options_.settingsPath) {
  server_.setRoster(&serverRoster_);
  server_.setAnnouncementSink([this](std::string_view line) { serverRoster_.apply(line); });
  // The server's end is posted: the server never waits for the UI thread. An end that comes
  // after the server was started again belongs to the earlier listening and is dropped.
  server_.setEndedHandler([this](std::uint64_t generation) {
    ui_.post([this, generation] {
      if (generation == server_.listenGeneration()) onServerEnded();
    });
  });
  client_.setLinkHandler([this](LobbyClient::LinkEvent event) { onLink(event); });
}

Program::~Program() {
  // Workers waiting for the UI thread are released first; the members' destructors then stop and
  // join them (client, then server).
  ui_.shutDown();
}

void Program::start() {
  boards_.reset();
  participants_.attach(&view_);
  // No file is a first start; a file without both records is damaged and read as far as it goes.
  if (const std::optional<SettingsFile::Records> records = settings_.load()) {
    if (records->name) name_ = field(*records->name);
    if (records->address) address_ = field(*records->address);
    if (!records->address) notice(Notice::Kind::kSettingsUnreadable);
  }
  view_.settingsChanged(name_, address_);
}

void Program::status(Status::Kind kind, int number) {
  Status s;
  s.kind = kind;
  s.number = number;
  view_.statusChanged(s);
}

void Program::notice(Notice::Kind kind, std::string name, std::string other, int number) {
  view_.noticeAdded({kind, std::move(name), std::move(other), number});
}

void Program::setPlayerName(std::string_view name) { name_ = field(name); }

void Program::setServerAddress(std::string_view address) { address_ = field(address); }

void Program::setConnection(ConnectionState state) {
  defaultName();
  if (state == connection_) return;
  connection_ = state;
  view_.connectionChanged(state);
}

void Program::defaultName() {
  if (!name_.empty()) return;
  name_ = texts().defaultName;
  view_.settingsChanged(name_, address_);
}

void Program::connect() {
  if (connection_ != ConnectionState::kIdle) return;
  setConnection(ConnectionState::kConnecting);
  client_.connect(address_, name_);
}

void Program::disconnect() {
  if (connection_ == ConnectionState::kIdle || connection_ == ConnectionState::kHosting) return;
  const bool connecting = connection_ != ConnectionState::kConnected;
  stopRejoining();
  setConnection(ConnectionState::kIdle);
  client_.disconnect();
  // A connect that is cancelled ends without a word from the connection: say it here.
  if (connecting && !client_.connected()) {
    status(Status::Kind::kNotConnected);
    notice(Notice::Kind::kConnectCancelled);
  }
}

void Program::host() {
  if (connection_ != ConnectionState::kIdle) return;
  setConnection(ConnectionState::kHosting);
  startServer();
}

void Program::stopHosting() {
  if (connection_ != ConnectionState::kHosting) return;
  setConnection(ConnectionState::kIdle);
  stopServer();
}

void Program::onLink(LobbyClient::LinkEvent event) {
  // The host's own connection follows the server; only a connect of its own changes the state.
  if (connection_ == ConnectionState::kHosting || connection_ == ConnectionState::kIdle) return;
  switch (event) {
    case LobbyClient::LinkEvent::kConnected:
      // The series of attempts to get back in ends when the host takes the player (its ID),
      // not at the connect: an attempt closed before that is one more that failed.
      setConnection(ConnectionState::kConnected);
      break;
    case LobbyClient::LinkEvent::kClosed:
      // Only a player who was in gets back in; one turned away (a full lobby) is not.
      if (connection_ == ConnectionState::kConnected && options_.rejoin && client_.welcomed()) {
        notice(Notice::Kind::kConnectionLost);
        backoff_.dropped(ReconnectBackoff::Clock::now());
        scheduleRejoin();
      } else if (connection_ == ConnectionState::kConnected && backoff_.trying()) {
        scheduleRejoin();
      } else {
        setConnection(ConnectionState::kIdle);
      }
      break;
    case LobbyClient::LinkEvent::kConnectFailed:
      if (connection_ == ConnectionState::kRejoining) {
        scheduleRejoin();
      } else {
        setConnection(ConnectionState::kIdle);
      }
      break;
  }
}

void Program::scheduleRejoin() {
  const std::optional<ReconnectBackoff::Clock::duration> pause =
      backoff_.nextPause(ReconnectBackoff::Clock::now());
  if (!pause) {
    notice(Notice::Kind::kRejoinGaveUp);
    setConnection(ConnectionState::kIdle);
    return;
  }
  setConnection(ConnectionState::kRejoining);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(*pause);
  status(Status::Kind::kRejoinIn, static_cast<int>(seconds.count()));
  const int round = ++rejoinRound_;
  rejoinTimer_.start(std::chrono::duration_cast<std::chrono::milliseconds>(*pause), [this, round] {
    ui_.post([this, round] {
      if (round == rejoinRound_ && connection_ == ConnectionState::kRejoining) {
        client_.connect(address_, name_);
      }
    });
  });
}

void Program::stopRejoining() {
  ++rejoinRound_;
  rejoinTimer_.cancel();
  backoff_.connected();  // the series is over
}

bool Program::mayAsk(int participant, Notice::Kind aboutSelf) {
  if (client_.fields().playing()) return false;
  std::optional<Notice::Kind> refusal;
  if (!client_.connected()) {
    refusal = Notice::Kind::kNotConnectedYet;
  } else if (participant == protocol::kNoPlayer) {
    refusal = Notice::Kind::kChooseParticipant;
  } else if (participant == client_.fields().ownId) {
    refusal = aboutSelf;
  }
  if (refusal) notice(*refusal);
  return !refusal;
}

void Program::challenge(int participant) {
  if (!mayAsk(participant, Notice::Kind::kCannotChallengeSelf)) return;
  client_.negotiation().challenge(participant);
}

void Program::watch(int participant) {
  if (!mayAsk(participant, Notice::Kind::kCannotWatchSelf)) return;
  // Nobody to watch: the board (a placement by hand, say) stays as it is.
  if (participants_.opponentOf(participant) == protocol::kNoPlayer) {
    notice(Notice::Kind::kNotInMatch, participants_.nameOf(participant));
    return;
  }
  client_.negotiation().requestWatch(participant);
}

std::string Program::lobbyAddress() const {
  return connection_ == ConnectionState::kHosting ? std::string(kOwnLobbyAddress) : address_;
}

void Program::endMatch() { client_.match().endMatch(true); }

void Program::sendChat(std::string_view text) {
  if (text.empty()) return;
  if (!client_.connected()) {
    notice(Notice::Kind::kChatNotSent);
    return;
  }
  client_.sendChat(name_, field(text));
}

bool Program::shutDown() {
  stopRejoining();
  server_.stopServer();
  client_.disconnect();
  if (settings_.save(name_, address_)) return true;
  std::fprintf(stderr, "pentaro: could not save the settings to %s\n",
               options_.settingsPath.c_str());
  notice(Notice::Kind::kSettingsNotSaved);
  return false;
}

void Program::paint(BoardSide side, Canvas& canvas) const {
  const MatchModel& match = client_.match().model();
  const MatchModel::Side toMove = match.sideToMove();
  if (side == BoardSide::kOwn) {
    paintBoard(canvas, boards_.own(), true,
               BoardMarks{toMove == MatchModel::Side::kLeft, match.lastCall()});
  } else {
    const bool show = client_.fields().watching() || boards_.gameOver();
    paintBoard(canvas, boards_.opponent(), show,
               BoardMarks{toMove == MatchModel::Side::kRight, match.lastCall()});
  }
}

// Tells the host where players on other machines connect: one chat line per address. When the
// interfaces cannot be read there is nothing true to say.
void Program::showHostAddresses() {
  const std::optional<std::vector<HostAddress>> addresses = hostAddresses();
  if (!addresses) return;
  if (addresses->empty()) notice(Notice::Kind::kOnlyThisMachine);
  for (const HostAddress& host : *addresses) {
    notice(Notice::Kind::kHostAddress, host.address, host.interfaceName);
  }
}

void Program::startServer() {
  serverRoster_.clear();
  // DNS-SD: announced under the host's player name while it listens.
  if (options_.announce) {
    server_.setAnnouncement(cp932::toUtf8(name_));
  }
  if (!server_.startServer(options_.port)) {
    // No accept worker started (no socket or no thread), so no end of the server will come.
    stopServer();
    notice(Notice::Kind::kServerNotStarted);
    setConnection(ConnectionState::kIdle);
    return;
  }
  if (server_.listenError() != 0) {
    // Another program holds the port: say so, and neither connect this program's client to
    // whoever listens there nor replace the saved address. The server's end follows at once.
    notice(Notice::Kind::kHostingFailed, {}, {}, options_.port);
    return;
  }
  showHostAddresses();
  // The host joins its own lobby on this machine; the address typed for a friend's lobby stays.
  client_.connect(std::string(kOwnLobbyAddress), name_);
}

void Program::stopServer() {
  client_.disconnect();
  server_.stopServer();
}

void Program::onServerEnded() {
  const bool neverListened = server_.listenError() != 0;
  stopServer();
  if (!neverListened) notice(Notice::Kind::kServerClosed);
  setConnection(ConnectionState::kIdle);
}

void Program::clickOwnCell(int column, int row) {
  if (boards_.nextToPlace() >= 1) {
    if (const std::optional<int> next = boards_.placeNext(column, row)) {
      if (*next == GameBoards::kNoPlacement) {
        status(Status::Kind::kPlacementDone);
      } else {
        status(Status::Kind::kNextToPlace, *next);
      }
    }
    return;
  }
  if (column < 0 || column >= Board::kSide || row < 0 || row >= Board::kSide) return;
  client_.match().clickOwnBoard(boards_.own().cell(column, row));
}

void Program::placeManually() {
  if (client_.fields().playing()) return;
  // A player who places by hand has moved on from the match it watched: it follows nobody.
  client_.negotiation().stopFollowing();
  boards_.beginManualPlacement();
  status(Status::Kind::kPlaceFromOne);
}

void Program::autoPlaceRest() {
  if (client_.fields().playing()) return;
  status(Status::Kind::kAutoPlacementDone);
  if (!boards_.autoPlaceRest()) boards_.reset();
}

}  // namespace pentaro
