// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/token_bucket.h"

#include <algorithm>

namespace pentaro {

TokenBucket::Clock::duration TokenBucket::take(Clock::time_point now, double perSecond,
                                               double burst) {
  if (perSecond <= 0) return Clock::duration::zero();
  burst = std::max(burst, 1.0);
  if (!started_) {
    started_ = true;
    tokens_ = burst;
  } else if (now > last_) {
    const double elapsed = std::chrono::duration<double>(now - last_).count();
    tokens_ = std::min(burst, tokens_ + elapsed * perSecond);
  }
  last_ = std::max(last_, now);
  tokens_ -= 1;
  if (tokens_ >= 0) return Clock::duration::zero();
  return std::chrono::ceil<Clock::duration>(std::chrono::duration<double>(-tokens_ / perSecond));
}

}  // namespace pentaro
