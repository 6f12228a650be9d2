// The course of one match as one player's program runs it: entering the match, the exchange of
// the two maps, the alternating calls, the decision and the return to the lobby; and what a
// watcher's program does with the maps and calls of a watched match. It owns the match fields of
// the lobby client (identities are 16-bit, -1 for none). Lines go out through `send`; it knows
// nothing of sockets. UI thread only.
#ifndef PENTARO_GAME_MATCH_PLAY_H_
#define PENTARO_GAME_MATCH_PLAY_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "game/board.h"
#include "game/game_boards.h"
#include "ui/window.h"

namespace pentaro {

struct MatchFields {
  static constexpr std::int16_t kNone = -1;
  std::int16_t ownId = kNone;
  std::int16_t opponentId = kNone;
  std::int16_t turnHolder = kNone;
  std::int16_t movesSecond = 0;
  std::int16_t watchedFirst = kNone;
  std::int16_t watchedSecond = kNone;

  bool playing() const { return opponentId != kNone; }
  bool watching() const { return watchedFirst != kNone; }
};

class MatchPlay {
 public:
  struct Hooks {
    std::function<void(const std::string& line)> send;  // one line to the server, without CR LF
    std::function<std::string(int id)> nameOf;          // a participant's name, empty if unknown
    std::function<bool()> connected;                    // the client connection is up
  };

  // Installs the window-side reset steps on `boards`, which must already be constructed.
  MatchPlay(GameBoards& boards, Window& window, Hooks hooks);
  ~MatchPlay();
  MatchPlay(const MatchPlay&) = delete;
  MatchPlay& operator=(const MatchPlay&) = delete;

  MatchFields& fields() { return fields_; }
  const MatchFields& fields() const { return fields_; }

  // A reset of the boards; its window-side steps follow (afterReset).
  void resetBoards() { boards_.reset(); }
  // The window-side steps of every reset: watching ends, repaint, captions emptied,
  // "対戦待ち・・・" while connected.
  void afterReset();

  void startMatch(int opponent, int movesSecond);
  void sendOwnMap(int destination);
  void playNumber(int number);
  void endMatch(bool notify);

  // A click on the own board outside a placement by hand, with the clicked cell's value.
  void clickOwnBoard(int value);

  // Received lines, with field 1 (the sender) and the fields they carry already read as numbers.
  void onPlot(int caller, int number);
  void onMap(int owner, const std::array<int, Board::kCells>& cells);
  void onEndMatch(int sender);

 private:
  void showResult(CallResult result, bool spectating);

  GameBoards& boards_;
  Window& window_;
  Hooks hooks_;
  MatchFields fields_;
};

}  // namespace pentaro

#endif  // PENTARO_GAME_MATCH_PLAY_H_
