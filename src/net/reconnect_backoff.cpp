// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/reconnect_backoff.h"

#include <algorithm>

namespace pentaro {

void ReconnectBackoff::dropped(Clock::time_point now) {
  trying_ = true;
  droppedAt_ = now;
  pause_ = Clock::duration::zero();
}

std::optional<ReconnectBackoff::Clock::duration> ReconnectBackoff::nextPause(
    Clock::time_point now) {
  if (!trying_) return std::nullopt;
  if (now - droppedAt_ >= kKeepTrying) {
    trying_ = false;
    return std::nullopt;
  }
  pause_ = pause_ == Clock::duration::zero() ? Clock::duration(kFirstPause)
                                             : std::min<Clock::duration>(pause_ * 2, kLongestPause);
  return pause_;
}

void ReconnectBackoff::connected() { trying_ = false; }

}  // namespace pentaro
