// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/reconnect_backoff.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace pentaro {
namespace {

using std::chrono::seconds;
using Clock = ReconnectBackoff::Clock;

// The pauses of one series, the attempts made as soon as each pause is over.
std::vector<long> series(ReconnectBackoff& backoff, Clock::time_point from) {
  std::vector<long> pauses;
  Clock::time_point now = from;
  while (const auto pause = backoff.nextPause(now)) {
    pauses.push_back(std::chrono::duration_cast<seconds>(*pause).count());
    now += *pause;
  }
  return pauses;
}

TEST(NetReconnectBackoff, DoublesUpToThirtySecondsForFiveMinutesAndStartsOverAfterAJoin) {
  ReconnectBackoff backoff;
  EXPECT_FALSE(backoff.nextPause(Clock::now()));  // nothing dropped: nothing to try
  const Clock::time_point drop = Clock::now();
  backoff.dropped(drop);
  const std::vector<long> pauses = series(backoff, drop);
  ASSERT_GE(pauses.size(), 6u);
  EXPECT_EQ(std::vector<long>(pauses.begin(), pauses.begin() + 6),
            (std::vector<long>{1, 2, 4, 8, 16, 30}));
  long total = 0;
  for (long pause : pauses) {
    EXPECT_LE(pause, 30);
    total += pause;
  }
  // Attempts go on for at least five minutes, and stop after about that.
  EXPECT_GE(total, 300);
  EXPECT_LT(total, 300 + 30);
  EXPECT_FALSE(backoff.trying());

  // A join ends the series; the next drop starts again at one second.
  backoff.dropped(drop + seconds(1000));
  EXPECT_EQ(backoff.nextPause(drop + seconds(1000)), Clock::duration(seconds(1)));
  EXPECT_EQ(backoff.nextPause(drop + seconds(1001)), Clock::duration(seconds(2)));
  backoff.connected();
  EXPECT_FALSE(backoff.trying());
  backoff.dropped(drop + seconds(2000));
  EXPECT_EQ(backoff.nextPause(drop + seconds(2000)), Clock::duration(seconds(1)));
}

}  // namespace
}  // namespace pentaro
