// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/random_source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pentaro {
namespace {

TEST(GameRandomSource, SequenceFromTheInitialState) {
  RandomSource random;
  const std::vector<int> draws = {3, 3, 0, 4, 3, 4, 4, 0};
  const std::vector<std::uint32_t> states = {0x75c40c57, 0x5e2206ae, 0xe113035c, 0x129f80b9,
                                             0x28f84172, 0x8fc0a0e5, 0xfc0451ca, 0xc226a994};
  for (std::size_t i = 0; i < draws.size(); ++i) {
    EXPECT_EQ(random.next(5), draws[i]) << "draw " << i;
    EXPECT_EQ(random.state(), states[i]) << "draw " << i;
  }
}

TEST(GameRandomSource, OtherStates) {
  RandomSource random;
  EXPECT_EQ(random.setState(0x12345678), 0x9778182bu);
  EXPECT_EQ(random.next(200), 97);
  EXPECT_EQ(random.state(), 0x21a12af0u);

  random.setState(0xffffffff);
  EXPECT_EQ(random.next(5), 1);
  EXPECT_EQ(random.state(), 0xfffffffeu);

  // A draw of 0 gives 0 and still advances.
  random.setState(0x9778182b);
  EXPECT_EQ(random.next(0), 0);
  EXPECT_EQ(random.state(), 0x75c40c57u);

  random.setState(0);
  for (int n : {1, 5, 200, 65536}) {
    EXPECT_EQ(random.next(n), 0);
    EXPECT_EQ(random.state(), 0u);
  }
}

}  // namespace
}  // namespace pentaro
