// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "server/announced_roster.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace pentaro {
namespace {

std::string describe(const std::vector<RosterLine>& roster) {
  std::string out;
  for (const RosterLine& line : roster) {
    out += std::to_string(line.id) + ":" + line.name + ":" + std::to_string(line.opponent) + ";";
  }
  return out;
}

// The lobby server reads the roster for a welcome on one slot worker while another worker's
// announcements change it. Every read must be one of the states between two announcements, never
// a roster half changed.
TEST(ServerAnnouncedRosterThreads, ReadsSeeOnlyWholeStates) {
  const std::vector<std::string> announcements = {
      "ADD\t0\talice", "ADD\t1\tbob", "ADD\t2\tcarol",   "STLIST\tS\t0\t2",
      "ADD\t3\tdave",  "DEL\t1",      "STLIST\tE\t2\t0", "STLIST\tS\t3\t0",
      "DEL\t0",        "DEL\t2",      "DEL\t3",
  };

  std::set<std::string> wholeStates;
  {
    AnnouncedRoster roster;
    wholeStates.insert(describe(roster.rosterLines()));
    for (const std::string& line : announcements) {
      roster.apply(line);
      wholeStates.insert(describe(roster.rosterLines()));
    }
  }

  AnnouncedRoster roster;
  std::atomic<bool> done{false};
  std::atomic<int> reads{0};
  std::vector<std::string> strays;
  std::thread reader([&] {
    while (!done.load()) {
      const std::string state = describe(roster.rosterLines());
      if (wholeStates.count(state) == 0 && strays.size() < 5) strays.push_back(state);
      reads.fetch_add(1);
    }
  });
  // Changes go on until the reader has seen plenty of them (bounded, should it never start).
  constexpr int kRounds = 300;
  constexpr int kMinReads = 1000;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (int round = 0; round < kRounds || reads.load() < kMinReads; ++round) {
    if (std::chrono::steady_clock::now() > deadline) break;
    for (const std::string& line : announcements) roster.apply(line);
  }
  done.store(true);
  reader.join();
  EXPECT_TRUE(strays.empty()) << strays.front();
  EXPECT_GE(reads.load(), kMinReads);
}

}  // namespace
}  // namespace pentaro
