// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program-wide objects of one player's program and the typed commands its view gives. The
// objects are built in the order server, client, random source, participant list (the boards
// alongside) and destroyed in reverse. Everything runs on the UI thread except the workers inside
// the server and the client. Several Programs can live in one process, each with its own view and
// UiThread, which must outlive it.
#ifndef PENTARO_SHELL_PROGRAM_H_
#define PENTARO_SHELL_PROGRAM_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "client/lobby_client.h"
#include "client/participant_list.h"
#include "game/game_boards.h"
#include "game/random_source.h"
#include "net/delayed_call.h"
#include "net/protocol.h"
#include "net/reconnect_backoff.h"
#include "server/announced_roster.h"
#include "server/lobby_server.h"
#include "shell/settings_file.h"
#include "ui/canvas.h"
#include "ui/lobby_view.h"
#include "ui/ui_thread.h"

namespace pentaro {

// The two boards as the window shows them: the own one on the left.
enum class BoardSide { kOwn, kOpponent };

class Program {
 public:
  // The name, the address and a chat line hold at most this many CP932 bytes (what the settings
  // file's 80-byte buffer and the protocol's fields carry).
  static constexpr std::size_t kFieldBytes = 78;
  // Where a host's own client connects.
  static constexpr std::string_view kOwnLobbyAddress = "localhost";

  struct Options {
    int port = protocol::kLobbyPort;      // for the server and the client
    std::string settingsPath = "qm.ini";  // relative to the working directory; "" for none
    // A connection that drops without the player asking is tried again (1, 2, 4 ... 30 s apart,
    // for five minutes), under the same name.
    bool rejoin = true;
    bool announce = false;  // DNS-SD: hosting announces the lobby (the window does)
  };

  Program(LobbyView& view, UiThread& ui, Options options);
  Program(LobbyView& view, UiThread& ui) : Program(view, ui, Options{}) {}
  // Shuts the UI down (no worker waits for it any more), then stops and joins every worker.
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The start: a shuffled board, the participant list shown, the settings loaded.
  void start();

  // The view's commands.
  void setPlayerName(std::string_view name);
  void setServerAddress(std::string_view address);
  void connect();      // "接続" pressed
  void disconnect();   // "接続" released: also stops getting back in after a drop
  void host();         // "サーバーになる" pressed
  void stopHosting();  // "サーバーになる" released
  void challenge(int participant);
  void watch(int participant);
  void endMatch();
  // A click on the own board's cell: placing by hand, or a call.
  void clickOwnCell(int column, int row);
  void placeManually();
  void autoPlaceRest();
  void sendChat(std::string_view text);
  // The window closes: closes every connection, saves the settings. False when they could not
  // be saved (the view has been told).
  bool shutDown();

  // Paints one board with its frames onto `canvas`.
  void paint(BoardSide side, Canvas& canvas) const;

  ConnectionState connection() const { return connection_; }
  const std::string& playerName() const { return name_; }
  const std::string& serverAddress() const { return address_; }
  // The address of the lobby this program is in (or goes to): its own when it hosts.
  std::string lobbyAddress() const;
  bool playing() const { return client_.fields().playing(); }

  LobbyServer& server() { return server_; }
  LobbyClient& client() { return client_; }
  const LobbyClient& client() const { return client_; }
  RandomSource& random() { return random_; }
  ParticipantList& participants() { return participants_; }
  GameBoards& boards() { return boards_; }
  const GameBoards& boards() const { return boards_; }

 private:
  void startServer();
  void stopServer();
  void onServerEnded();
  void onLink(LobbyClient::LinkEvent event);
  // The next attempt to get back in after a drop, after the backoff's pause; idle once it gives up.
  void scheduleRejoin();
  void stopRejoining();
  void setConnection(ConnectionState state);
  // Whether a challenge or a watch request may go to `participant`; if not, the view is told why.
  bool mayAsk(int participant, Notice::Kind aboutSelf);
  // An empty name becomes "名無し" when a connection is opened or given up.
  void defaultName();
  void status(Status::Kind kind, int number = 0);
  void notice(Notice::Kind kind, std::string name = {}, std::string other = {}, int number = 0);
  void showHostAddresses();

  LobbyView& view_;
  UiThread& ui_;
  const Options options_;
  std::string name_;
  std::string address_;
  ConnectionState connection_ = ConnectionState::kIdle;
  // Plain data that the objects below refer to; it exists before them.
  GameBoards boards_;
  // What the server has told everybody; newcomers are welcomed from it. It outlives the server,
  // whose departing players are still announced while it stops.
  AnnouncedRoster serverRoster_;
  LobbyServer server_;
  LobbyClient client_;
  RandomSource random_;
  ParticipantList participants_;
  SettingsFile settings_;
  ReconnectBackoff backoff_;
  int rejoinRound_ = 0;  // a pending attempt of an older round is dropped
  DelayedCall rejoinTimer_;
};

}  // namespace pentaro

#endif  // PENTARO_SHELL_PROGRAM_H_
