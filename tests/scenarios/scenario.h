// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A lobby of complete players over loopback: one hosts, the others join, in order, so their
// PlayerIds are 0, 1, 2, ...
#ifndef PENTARO_TESTS_SCENARIOS_SCENARIO_H_
#define PENTARO_TESTS_SCENARIOS_SCENARIO_H_

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/test_player.h"

namespace pentaro::testing {

class Scenario : public ::testing::Test {
 protected:
  Scenario() : port_(freePort()) {}

  // The first player hosts the lobby; every later one connects to it.
  TestPlayer& join(const std::string& nameUtf8);
  // `challenger` challenges `challenged`, who says Yes; returns once both have the other's map.
  void startMatch(TestPlayer& challenger, TestPlayer& challenged);
  // `watcher` watches the match of `player`; returns once it shows "観戦中".
  void watch(TestPlayer& watcher, TestPlayer& player);
  // The players call in turn, each the lowest number still open on its own board, until the
  // match is decided. Returns the number of calls.
  int playToTheEnd(TestPlayer& a, TestPlayer& b);
  // Places 1..25 by hand in index order (row by row).
  void placeInIndexOrder(TestPlayer& player);

  int port_;
  std::vector<std::unique_ptr<TestPlayer>> players_;
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_SCENARIOS_SCENARIO_H_
