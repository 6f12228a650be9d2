// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One player's match as the lobby client runs it: the glue between the match model, the lines to
// and from the server, and the view. It turns received maps and calls into model operations, and
// the model's outcomes into lines to the opponent and typed events for the view (status, notices,
// the names above the boards, the match state); it also runs the view-side steps of every board
// reset. UI thread only.
#ifndef PENTARO_CLIENT_MATCH_SESSION_H_
#define PENTARO_CLIENT_MATCH_SESSION_H_

#include <array>
#include <functional>
#include <string>

#include "game/board.h"
#include "game/game_boards.h"
#include "game/match_model.h"
#include "ui/lobby_view.h"

namespace pentaro {

class MatchSession {
 public:
  // The own name above the own board holds this many CP932 bytes.
  static constexpr std::size_t kOwnCaptionBytes = 38;
  // A winner's name in a watcher's status line holds this many.
  static constexpr std::size_t kWinnerNameBytes = 39;

  struct Hooks {
    std::function<void(const std::string& line)> send;  // one line to the server, without CR LF
    std::function<std::string(int id)> nameOf;          // a participant's name, empty if unknown
    std::function<bool()> connected;                    // the client connection is up
    std::function<std::string()> ownName;               // the name this player joined under
  };

  // Installs the view-side reset steps on `boards`, which must already be constructed.
  MatchSession(GameBoards& boards, LobbyView& view, Hooks hooks);
  ~MatchSession();
  MatchSession(const MatchSession&) = delete;
  MatchSession& operator=(const MatchSession&) = delete;

  MatchModel& model() { return model_; }
  const MatchModel& model() const { return model_; }
  const MatchFields& fields() const { return model_.fields(); }

  // A reset of the boards; its view-side steps follow (afterReset).
  void resetBoards() { boards_.reset(); }
  // The view-side steps of every reset: watching ends, repaint, names emptied,
  // "対戦待ち・・・" while connected.
  void afterReset();

  void startMatch(int opponent, int movesSecond);
  // Both players challenged and accepted each other: the two first-move draws must agree. The
  // acceptance of the lower id holds; `theirFlag` is what the other's acceptance told this side.
  void settleMutualAcceptance(int theirFlag);
  void sendOwnMap(int destination);
  void endMatch(bool notify);
  // Watching the match of `first` (shown on the left) and `second` begins.
  void beginWatching(int first, int second);

  // A click on the own board outside a placement by hand, with the clicked cell's value.
  void clickOwnBoard(int value);

  // Received lines, with field 1 (the sender) and the fields they carry already read as numbers.
  void onPlot(int caller, int number);
  void onMap(int owner, const std::array<int, Board::kCells>& cells);
  void onEndMatch(int sender);
  // A player has left the lobby (before the participant list forgets `name`): a match with it, or
  // the watching of its match, ends at once.
  void onPlayerLeft(int id, const std::string& name);
  // The connection to the lobby ended: a running match ends with a note, watching ends.
  void onConnectionLost();

 private:
  void show(const CallOutcome& outcome, int number);
  void showOrder();
  void setCaptions(std::string left, std::string right);
  // Tells the view when playing, watching or neither changed.
  void reportMatchState();
  void notice(Notice::Kind kind, std::string name = {});
  void status(Status::Kind kind, std::string name = {});

  GameBoards& boards_;
  LobbyView& view_;
  Hooks hooks_;
  MatchModel model_;
  std::string leftCaption_;
  std::string rightCaption_;
  MatchState reported_ = MatchState::kNone;
};

}  // namespace pentaro

#endif  // PENTARO_CLIENT_MATCH_SESSION_H_
