// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/random_source.h"

namespace pentaro {
namespace {

std::uint16_t rotl16(std::uint16_t v, int k) {
  return static_cast<std::uint16_t>((v << k) | (v >> (16 - k)));
}
std::uint8_t rotl8(std::uint8_t v, int k) {
  return static_cast<std::uint8_t>((v << k) | (v >> (8 - k)));
}
std::uint8_t rotr8(std::uint8_t v, int k) {
  return static_cast<std::uint8_t>((v >> k) | (v << (8 - k)));
}

}  // namespace

std::uint32_t RandomSource::setState(std::uint32_t state) {
  std::uint32_t previous = state_;
  state_ = state;
  return previous;
}

int RandomSource::next(int n) {
  const std::uint32_t s = state_;
  const std::uint32_t feedback = ((s >> 30) ^ (s >> 1)) & 1;
  const std::uint8_t b0 = static_cast<std::uint8_t>(s);
  const std::uint8_t b1 = rotr8(static_cast<std::uint8_t>(s >> 8), 2);
  std::uint16_t h = rotl16(static_cast<std::uint16_t>(s >> 16), 2);
  const std::uint8_t hHigh = rotl8(static_cast<std::uint8_t>(h >> 8), 1);
  h = static_cast<std::uint16_t>((hHigh << 8) | (h & 0xFF));
  const std::uint32_t mixed = b0 | (std::uint32_t{b1} << 8) | (std::uint32_t{h} << 16);
  state_ = (mixed << 1) | feedback;
  if (n <= 0) return 0;
  const std::uint32_t folded = (state_ & 0xFFFF) ^ (state_ >> 16);
  return static_cast<int>(folded % static_cast<std::uint32_t>(n));
}

}  // namespace pentaro
