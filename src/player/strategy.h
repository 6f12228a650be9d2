// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A computer player's mind: it chooses the placement of its board before a match and each of its
// calls, from a PlayerView only. Three strengths. Each strategy owns its own seeded generator, so a
// run is repeatable for a seed and never draws from the program's RandomSource. One thread at a
// time.
#ifndef PENTARO_PLAYER_STRATEGY_H_
#define PENTARO_PLAYER_STRATEGY_H_

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "game/board.h"
#include "player/player_view.h"

namespace pentaro {

// The numbers of a board in index order, 1..25 each once.
using Placement = std::array<int, Board::kCells>;

enum class Level { kWeak, kNormal, kStrong };

class Strategy {
 public:
  explicit Strategy(std::uint32_t seed) : generator_(seed) {}
  virtual ~Strategy() = default;
  Strategy(const Strategy&) = delete;
  Strategy& operator=(const Strategy&) = delete;

  virtual Placement choosePlacement() { return shuffledPlacement(); }
  // An uncalled number of the own board; 0 only when every number has been called.
  virtual int chooseCall(const PlayerView& view) = 0;

 protected:
  // 0..n-1 (n > 0).
  int draw(int n) { return static_cast<int>(generator_() % static_cast<std::uint32_t>(n)); }
  Placement shuffledPlacement();

 private:
  std::mt19937 generator_;
};

// "weak", "normal", "strong" on the command line.
std::optional<Level> parseLevel(std::string_view key);
std::string_view levelKey(Level level);
// The strength's Japanese name, CP932.
const std::string& levelName(Level level);

std::unique_ptr<Strategy> makeStrategy(Level level, std::uint32_t seed);

}  // namespace pentaro

#endif  // PENTARO_PLAYER_STRATEGY_H_
