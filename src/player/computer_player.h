// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A computer player in a lobby: one complete player's program (a Program with its own UI thread,
// exactly what a person's window runs) with the computer player as its view. It reads what
// happens from the view events and the models, never from text, and gives the commands a person
// gives: it answers the challenge question, places its board by hand, calls and ends matches; its
// strategy sees only a PlayerView. It has no thread of its own: the UI thread does one step after
// every event it has handled (a line, the connection's end) and when a pause is over, so a waiting
// player costs nothing. Public operations are safe from any thread; the destructor leaves the
// lobby.
#ifndef PENTARO_PLAYER_COMPUTER_PLAYER_H_
#define PENTARO_PLAYER_COMPUTER_PLAYER_H_

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/protocol.h"
#include "player/strategy.h"
#include "shell/program.h"
#include "ui/headless_ui_thread.h"
#include "ui/lobby_view.h"

namespace pentaro {

class ComputerPlayer final : public LobbyView {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kHumanPause{800};

  struct Options {
    std::string host = "127.0.0.1";
    int port = protocol::kLobbyPort;
    std::string name;  // CP932
    Level level = Level::kStrong;
    // Also challenge free participants with a lower PlayerId (those with a higher one challenge
    // this player, if they are computers too, so two computers never challenge each other at once).
    bool challenge = false;
    // Before every call, every "対戦終了" and every challenge: between half and one and a half
    // times this. Zero plays flat out.
    std::chrono::milliseconds pause = kHumanPause;
    std::uint32_t seed = 1;
    // One line per finished match and one for a lost connection, UTF-8; called on the UI thread.
    std::function<void(const std::string& line)> log;
    // Called on the UI thread once the connection is lost (after its log line), so that an owner
    // can wait for it instead of asking record() again and again.
    std::function<void()> connectionLost;
  };

  struct Record {
    int wins = 0;
    int losses = 0;
    int draws = 0;
    int aborted = 0;  // ended before a decision
    bool everConnected = false;
    bool lostConnection = false;
  };

  // Connects at once.
  explicit ComputerPlayer(Options options);
  ~ComputerPlayer();
  ComputerPlayer(const ComputerPlayer&) = delete;
  ComputerPlayer& operator=(const ComputerPlayer&) = delete;

  // From now on: no challenges sent, every challenge refused; the running match is played out
  // without pauses.
  void drain();
  // Ends a running match (it counts as aborted) and leaves the lobby; the destructor does it too.
  void leave();
  // Not in a match (or the program is gone).
  bool idle();
  Record record();

 private:
  // The view events that matter to a computer player; the rest show nothing to anybody. Called
  // by its program on the UI thread.
  void boardsChanged() override;
  bool askChallenge(std::string_view name) override;
  void noticeAdded(const Notice& notice) override;
  void connectionChanged(ConnectionState) override {}
  void statusChanged(const Status&) override {}
  void chatAdded(std::string_view, std::string_view) override {}
  void hostMessageAdded(std::string_view) override {}
  void settingsChanged(std::string_view, std::string_view) override {}
  void participantInserted(int, std::string_view, int) override {}
  void participantRemoved(int) override {}
  void participantRebuilt(int, int, std::string_view, int) override {}
  void participantsCleared() override {}
  void matchChanged(MatchState) override {}
  void captionsChanged(std::string_view, std::string_view) override {}
  void requestAttention() override {}

  // One look at the program, on the UI thread; returns when to look again at the latest
  // (HeadlessUiThread::kNoDeadline: at the next event).
  Clock::time_point step();
  // Notes the start, the decision and the end of a match; UI thread, also inside a repaint.
  void observe();
  Clock::time_point stepInMatch(Clock::time_point now);
  Clock::time_point stepIdle(Clock::time_point now);
  void finishMatch();
  // "match NAME vs OPPONENT: RESULT", the line the soak run pairs up.
  void logMatch(const char* result);
  void placeBoard();
  void callNumber();
  // False when nobody is free to challenge.
  bool challengeSomeone();
  // A challenge of its own is out and not yet answered (an acceptance starts the match; a refusal
  // or "already playing" comes as a notice).
  bool awaitingAnswer(Clock::time_point now);
  Clock::time_point afterPause(Clock::time_point now);

  const Options options_;
  HeadlessUiThread ui_;
  std::unique_ptr<Program> program_;

  // The UI thread's.
  std::unique_ptr<Strategy> strategy_;
  std::mt19937 pauses_;
  bool stopped_ = false;  // left: no more steps
  bool draining_ = false;
  bool inMatch_ = false;
  bool decided_ = false;
  bool placed_ = false;
  std::string opponentName_;
  Clock::time_point moveDue_{};
  Clock::time_point endDue_{};
  Clock::time_point nextChallenge_{};
  Clock::time_point challengedUntil_{};
  Record record_;
};

}  // namespace pentaro

#endif  // PENTARO_PLAYER_COMPUTER_PLAYER_H_
