// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's only pseudo-random generator: a 32-bit state stepped by a fixed bit permutation
// with one feedback bit. The sequence is reproducible from the state. Not thread-safe; the UI
// thread owns it.
#ifndef PENTARO_GAME_RANDOM_SOURCE_H_
#define PENTARO_GAME_RANDOM_SOURCE_H_

#include <cstdint>

namespace pentaro {

class RandomSource {
 public:
  static constexpr std::uint32_t kInitialState = 0x9778182b;

  // Replaces the state and returns the previous one.
  std::uint32_t setState(std::uint32_t state);
  std::uint32_t state() const { return state_; }

  // Advances the state once and returns a value in 0..n-1 (0 when n is 0).
  int next(int n);

 private:
  std::uint32_t state_ = kInitialState;
};

}  // namespace pentaro

#endif  // PENTARO_GAME_RANDOM_SOURCE_H_
