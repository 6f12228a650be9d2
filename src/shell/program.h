// The program-wide objects of one player's program and its dialog procedure. The objects are
// built in the order server, client, random source, participant list (the boards alongside) and
// destroyed in reverse. Everything runs on the UI thread except the workers inside the server and
// the client. Several Programs can live in one process, each with its own Window and UiThread,
// which must outlive it.
#ifndef PENTARO_SHELL_PROGRAM_H_
#define PENTARO_SHELL_PROGRAM_H_

#include <cstdint>
#include <string>

#include "server/announced_roster.h"
#include "client/lobby_client.h"
#include "client/participant_list.h"
#include "game/game_boards.h"
#include "game/random_source.h"
#include "net/protocol.h"
#include "server/lobby_server.h"
#include "shell/settings_file.h"
#include "ui/canvas.h"
#include "ui/ui_thread.h"
#include "ui/window.h"

namespace pentaro {

class Program {
 public:
  struct Options {
    int port = protocol::kLobbyPort;      // for the server and the client
    std::string settingsPath = "qm.ini";  // relative to the working directory
  };

  Program(Window& window, UiThread& ui, Options options);
  Program(Window& window, UiThread& ui) : Program(window, ui, Options{}) {}
  // Shuts the UI down (no worker waits for it any more), then stops and joins every worker.
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The dialog's creation: a shuffled board, the participant list attached, settings loaded.
  void initDialog();
  // A command of the dialog: a control's identifier, or a posted CMD_REPAINT_BOARDS or
  // CMD_OWN_BOARD_CLICK with its argument. Identifiers without a meaning are ignored.
  void command(int id, std::uint32_t argument = 0);
  // The close box: closes every connection, saves the settings. The front end then ends.
  void shutDown();

  // Paints the board of IDC_OWN_BOARD or IDC_OPPONENT_BOARD onto `canvas`.
  void paint(int boardControl, Canvas& canvas) const;

  LobbyServer& server() { return server_; }
  LobbyClient& client() { return client_; }
  RandomSource& random() { return random_; }
  ParticipantList& participants() { return participants_; }
  GameBoards& boards() { return boards_; }

 private:
  void startServer();
  void stopServer();
  void onServerEnded();
  void connectToggled();
  void serverToggled();
  void sendChatInput();
  void clickOwnBoard(std::uint32_t argument);
  void placeManually();
  void autoPlaceRest();

  Window& window_;
  UiThread& ui_;
  const Options options_;
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
};

}  // namespace pentaro

#endif  // PENTARO_SHELL_PROGRAM_H_
