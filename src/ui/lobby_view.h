// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The presentation boundary: what the lobby core (connection, chat, participant list, match play,
// settings) tells a view, as typed events. The view makes the words a player reads from these
// events itself (view_texts.h), so that a translated view replaces them in one place; the core
// never drives a control. Names and chat are CP932 as they came from the wire or the settings.
// Every call is made on the UI thread that owns the core.
#ifndef PENTARO_UI_LOBBY_VIEW_H_
#define PENTARO_UI_LOBBY_VIEW_H_

#include <string>
#include <string_view>

namespace pentaro {

// Which of the two connections a player can open is up (or being opened).
enum class ConnectionState {
  kIdle,        // neither: the address and the name may be edited
  kConnecting,  // "接続" pressed, the connect under way
  kConnected,   // "接続" pressed and connected
  kRejoining,   // "接続" still pressed: the connection dropped unasked and is tried again
  kHosting,     // "サーバーになる" pressed: the lobby runs here and this player joins it
};

// The status line, with what it names.
struct Status {
  enum class Kind {
    kNotConnected,
    kConnecting,
    kConnected,
    kWaitingForMatch,
    kPlaceFromOne,
    kNextToPlace,  // `number`: the next number to place
    kPlacementDone,
    kAutoPlacementDone,
    kMovesFirst,
    kMovesSecond,
    kYourTurn,
    kOpponentsTurn,
    kYouWin,
    kOpponentWins,
    kDraw,
    kPlayerWins,  // a watched match: `name` won
    kWatching,
    kRejoinIn,  // `number`: seconds until the next attempt to get back in
  };
  Kind kind = Kind::kNotConnected;
  int number = 0;
  std::string name;
};

// A line the program itself writes into the chat log.
struct Notice {
  enum class Kind {
    kConnectionClosed,
    kServerClosed,
    kHostingFailed,  // `number`: the port
    kServerNotStarted,
    kConnectFailed,  // `name`: the address
    kHostAddress,    // `name`: the address, `other`: its interface
    kOnlyThisMachine,
    kMatchStarted,
    kMatchEnded,
    kMovesFirst,
    kMovesSecond,
    kMapReceived,
    kMapNotReceived,
    kPleaseWait,
    kChallenging,
    kFetchingMatch,
    kFetchingMaps,
    kChallengeFrom,           // `name` challenges this player
    kBusyIgnoring,            // a challenge came during a match
    kAccepted,                // `name` accepted this player's challenge
    kIgnoringLateAcceptance,  // `name` accepted, but this player already plays somebody else
    kRefused,                 // `name` refused
    kNowPlaying,              // `name` already plays `other`
    kNotInMatch,              // `name`, asked to be watched, plays nobody
    kOpponentLeft,            // `name`, the opponent, left the lobby: the match ended
    kWatchedLeft,             // `name`, a watched player, left: watching ended
    kSettingsNotSaved,
    kSettingsUnreadable,     // qm.ini is there but damaged: the fields start empty
    kConnectCancelled,       // "接続" released while connecting
    kConnectionLostInMatch,  // the connection ended during the player's match
    kWatchedMatchEnded,      // the watched match ended; watching follows the first player
    kChatNotSent,            // chat typed while not connected
    kCannotChallengeSelf,
    kCannotWatchSelf,
    kChooseParticipant,             // "対戦" or "観戦" with no participant chosen
    kNotConnectedYet,               // "対戦" or "観戦" while not connected
    kConnectionLost,                // the connection dropped unasked; it is tried again
    kRejoinGaveUp,                  // minutes of attempts got nowhere
    kLobbiesNotFoundAutomatically,  // no Avahi daemon: lobbies are typed by address
    kBadPlayerId,  // `number`: an id the host gave outside its ten slots; the connection ends
  };
  // Every field has its initializer, so a notice names only the fields it uses:
  // {.kind = Notice::Kind::kConnectFailed, .name = address}.
  Kind kind = Kind::kMatchStarted;
  std::string name{};
  std::string other{};
  int number = 0;
};

// Whether the player plays a match, watches one, or neither.
enum class MatchState { kNone, kPlaying, kWatching };

class LobbyView {
 public:
  virtual ~LobbyView() = default;

  virtual void connectionChanged(ConnectionState state) = 0;
  virtual void statusChanged(const Status& status) = 0;
  virtual void noticeAdded(const Notice& notice) = 0;
  // "name : text": a player's chat, the player's own included.
  virtual void chatAdded(std::string_view name, std::string_view text) = 0;
  // A notice from the host (a MSG line), shown as it was sent.
  virtual void hostMessageAdded(std::string_view text) = 0;
  // The player's name and the host's address as the core now holds them (loaded, defaulted).
  virtual void settingsChanged(std::string_view name, std::string_view address) = 0;

  // The participant list's lines from the top ("name" or "name ★ opponent"), each carrying its
  // PlayerId, in the order the participant model changes them.
  virtual void participantInserted(int index, std::string_view text, int id) = 0;
  virtual void participantRemoved(int index) = 0;
  // Removed at `from` (-1: none) and inserted anew at `to`; a selection stays where it was.
  virtual void participantRebuilt(int from, int to, std::string_view text, int id) = 0;
  virtual void participantsCleared() = 0;

  virtual void matchChanged(MatchState state) = 0;
  // The names above the two boards (empty: none).
  virtual void captionsChanged(std::string_view left, std::string_view right) = 0;
  // A board, the side to move or the last call changed: paint the boards again from the core.
  virtual void boardsChanged() = 0;

  // `name` challenges this player; true accepts. Later events wait while it is asked.
  virtual bool askChallenge(std::string_view name) = 0;
  // A challenge came, or it became the player's turn.
  virtual void requestAttention() = 0;
};

}  // namespace pentaro

#endif  // PENTARO_UI_LOBBY_VIEW_H_
