// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "player/strategy.h"

#include <utility>

#include "player/greedy_strategy.h"
#include "player/random_strategy.h"
#include "player/strong_strategy.h"
#include "text/texts.h"

namespace pentaro {

Placement Strategy::shuffledPlacement() {
  Placement placement{};
  for (int i = 0; i < Board::kCells; ++i) placement[i] = i + 1;
  for (int i = Board::kCells - 1; i > 0; --i) std::swap(placement[i], placement[draw(i + 1)]);
  return placement;
}

std::optional<Level> parseLevel(std::string_view key) {
  for (Level level : {Level::kWeak, Level::kNormal, Level::kStrong}) {
    if (key == levelKey(level)) return level;
  }
  return std::nullopt;
}

std::string_view levelKey(Level level) {
  switch (level) {
    case Level::kWeak:
      return "weak";
    case Level::kNormal:
      return "normal";
    case Level::kStrong:
      return "strong";
  }
  return "weak";
}

const std::string& levelName(Level level) {
  switch (level) {
    case Level::kWeak:
      return texts().levelWeak;
    case Level::kNormal:
      return texts().levelNormal;
    case Level::kStrong:
      return texts().levelStrong;
  }
  return texts().levelWeak;
}

std::unique_ptr<Strategy> makeStrategy(Level level, std::uint32_t seed) {
  switch (level) {
    case Level::kWeak:
      return std::make_unique<RandomStrategy>(seed);
    case Level::kNormal:
      return std::make_unique<GreedyStrategy>(seed);
    case Level::kStrong:
      return std::make_unique<StrongStrategy>(seed);
  }
  return nullptr;
}

}  // namespace pentaro
