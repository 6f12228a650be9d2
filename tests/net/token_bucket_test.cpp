// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/token_bucket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace pentaro {
namespace {

using std::chrono::milliseconds;
using Clock = TokenBucket::Clock;

struct PacingCase {
  const char* name;
  double perSecond;
  double burst;
  std::vector<int> at;              // when each line comes, in ms from the first
  std::vector<milliseconds> waits;  // what the bucket answers for each
};

TEST(NetTokenBucket, LinesPastTheBurstWaitForTheirToken) {
  const PacingCase cases[] = {
      {"no limit", 0, 0, {0, 0, 0}, {milliseconds(0), milliseconds(0), milliseconds(0)}},
      {"the burst goes at once, then one line per token",
       10,
       2,
       {0, 0, 0, 0},
       {milliseconds(0), milliseconds(0), milliseconds(100), milliseconds(200)}},
      {"a line that waited its turn owes nothing more",
       10,
       2,
       {0, 0, 0, 100, 200},
       {milliseconds(0), milliseconds(0), milliseconds(100), milliseconds(100), milliseconds(100)}},
      {"tokens refill while nothing comes, up to the burst",
       10,
       2,
       {0, 0, 5000, 5000, 5000},
       {milliseconds(0), milliseconds(0), milliseconds(0), milliseconds(0), milliseconds(100)}},
      {"a burst below one still lets a line through",
       1000,
       0,
       {0, 0},
       {milliseconds(0), milliseconds(1)}},
  };
  const Clock::time_point start{};
  for (const PacingCase& c : cases) {
    TokenBucket bucket;
    for (size_t i = 0; i < c.at.size(); ++i) {
      const Clock::duration wait = bucket.take(start + milliseconds(c.at[i]), c.perSecond, c.burst);
      EXPECT_EQ(std::chrono::round<milliseconds>(wait), c.waits[i]) << c.name << ", line " << i;
    }
  }
}

}  // namespace
}  // namespace pentaro
