// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Paces the lines of one connection: a token bucket that refills at a given rate up to a burst.
// A line that finds no token is not dropped; the bucket tells how long its reader must wait.
// Pure: the caller passes the time and the rate. Owned and used by one reader thread.
#ifndef PENTARO_NET_TOKEN_BUCKET_H_
#define PENTARO_NET_TOKEN_BUCKET_H_

#include <chrono>

namespace pentaro {

class TokenBucket {
 public:
  using Clock = std::chrono::steady_clock;

  // Takes the token of one line at `now`, with `perSecond` tokens a second and at most `burst`
  // saved up (a new bucket is full). Returns how long to wait before the line may be handled:
  // zero while tokens are left, else the time until the owed token has come. A rate of zero or
  // less means no limit.
  Clock::duration take(Clock::time_point now, double perSecond, double burst);

 private:
  bool started_ = false;
  double tokens_ = 0;  // below zero: owed, to be waited for
  Clock::time_point last_;
};

}  // namespace pentaro

#endif  // PENTARO_NET_TOKEN_BUCKET_H_
