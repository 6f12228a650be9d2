#include "game/random_source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pentaro {
namespace {

TEST(GameRandomSource, SequenceFromTheInitialState) {
  RandomSource random;
  EXPECT_EQ(random.state(), 0x9778182bu);
  const std::vector<int> draws = {3, 3, 0, 4, 3, 4, 4, 0};
  const std::vector<std::uint32_t> states = {0x75c40c57, 0x5e2206ae, 0xe113035c, 0x129f80b9,
                                             0x28f84172, 0x8fc0a0e5, 0xfc0451ca, 0xc226a994};
  for (std::size_t i = 0; i < draws.size(); ++i) {
    EXPECT_EQ(random.next(5), draws[i]) << "draw " << i;
    EXPECT_EQ(random.state(), states[i]) << "draw " << i;
  }
}

TEST(GameRandomSource, OtherStatesAndRanges) {
  RandomSource random;
  EXPECT_EQ(random.setState(0x12345678), 0x9778182bu);
  EXPECT_EQ(random.next(200), 97);
  EXPECT_EQ(random.state(), 0x21a12af0u);

  EXPECT_EQ(random.setState(0xffffffff), 0x21a12af0u);
  EXPECT_EQ(random.next(5), 1);
  EXPECT_EQ(random.state(), 0xfffffffeu);
}

TEST(GameRandomSource, DrawOfZeroStillAdvances) {
  RandomSource random;
  EXPECT_EQ(random.next(0), 0);
  EXPECT_EQ(random.state(), 0x75c40c57u);
}

TEST(GameRandomSource, ZeroIsAFixedPoint) {
  RandomSource random;
  random.setState(0);
  for (int n : {1, 2, 5, 25, 200, 65536}) {
    EXPECT_EQ(random.next(n), 0);
    EXPECT_EQ(random.state(), 0u);
  }
}

// The step as a map of bits: every old bit lands on the listed new bits (bit 0 also takes the
// feedback of bits 30 and 1; bit 28 is lost).
TEST(GameRandomSource, EveryBitMovesToItsPlace) {
  std::vector<std::vector<int>> targets(32);
  targets[30].push_back(0);
  targets[1].push_back(0);
  for (int b = 0; b <= 7; ++b) targets[b].push_back(b + 1);
  for (int b = 10; b <= 15; ++b) targets[b].push_back(b - 1);
  targets[8].push_back(15);
  targets[9].push_back(16);
  targets[30].push_back(17);
  targets[31].push_back(18);
  for (int b = 16; b <= 21; ++b) targets[b].push_back(b + 3);
  targets[29].push_back(25);
  for (int b = 22; b <= 27; ++b) targets[b].push_back(b + 4);

  for (int bit = 0; bit < 32; ++bit) {
    std::uint32_t expected = 0;
    for (int t : targets[bit]) expected |= std::uint32_t{1} << t;
    RandomSource random;
    random.setState(std::uint32_t{1} << bit);
    random.next(1);
    EXPECT_EQ(random.state(), expected) << "bit " << bit;
  }
}

}  // namespace
}  // namespace pentaro
