// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scenarios/scenario.h"

namespace pentaro::testing {

TestPlayer& Scenario::join(const std::string& nameUtf8) {
  const bool first = players_.empty();
  // The lowest free identity: players who left free theirs.
  int expectedId = 0;
  while (expectedId < static_cast<int>(players_.size()) && players_[expectedId]->connected()) {
    ++expectedId;
  }
  players_.push_back(std::make_unique<TestPlayer>(port_, nameUtf8, 1000 + expectedId));
  TestPlayer& player = *players_.back();
  if (first) {
    player.hostLobby();
  } else {
    player.connect();
  }
  // Registered once the own line is in the own list.
  EXPECT_TRUE(waitUntil([&] {
    for (const std::string& line : player.participants()) {
      if (line == nameUtf8) return player.id() == expectedId;
    }
    return false;
  })) << nameUtf8
      << " did not join as " << expectedId << ":\n"
      << player.chatLog();
  // Everybody connected has seen the newcomer arrive.
  for (auto& other : players_) {
    if (other->connected()) {
      EXPECT_TRUE(other->waitForChat(nameUtf8 + "さんの登場です"));
    }
  }
  return player;
}

void Scenario::startMatch(TestPlayer& challenger, TestPlayer& challenged) {
  challenged.view.setAnswerer([](const std::string&, const std::string&) { return true; });
  ASSERT_TRUE(challenger.selectParticipant(challenged.id()));
  challenger.challengeSelected();
  ASSERT_TRUE(waitUntil([&] {
    return challenger.fields().playing() && challenged.fields().playing() &&
           challenger.opponentBoard().isFilled() && challenged.opponentBoard().isFilled();
  }));
}

void Scenario::watch(TestPlayer& watcher, TestPlayer& player) {
  // The watcher's list learns of the match from the host's announcement, which may come after
  // the two players have begun; until then a watch is refused, as in the window.
  const int watched = player.id();
  ASSERT_TRUE(waitUntil([&] {
    int opponent = protocol::kNoPlayer;
    watcher.run([&] { opponent = watcher.program->participants().opponentOf(watched); });
    return opponent != protocol::kNoPlayer;
  }));
  ASSERT_TRUE(watcher.selectParticipant(watched));
  watcher.watchSelected();
  EXPECT_TRUE(watcher.chatHas("対戦情報を取得中・・・"));
  ASSERT_TRUE(watcher.waitForStatus("観戦中"));
}

int Scenario::playToTheEnd(TestPlayer& a, TestPlayer& b) {
  int calls = 0;
  while (!a.gameOver() && !b.gameOver() && calls < Board::kCells) {
    const MatchFields fa = a.fields();
    TestPlayer& caller = fa.turnHolder == fa.ownId ? a : b;
    TestPlayer& other = &caller == &a ? b : a;
    const Board own = caller.ownBoard();
    int number = 0;
    for (int n = 1; n <= Board::kHighestNumber && number == 0; ++n) {
      for (int i = 0; i < Board::kCells; ++i) {
        if (own.cellAt(i) == n) number = n;
      }
    }
    caller.call(number);
    ++calls;
    // The call has arrived once the other side has marked it.
    EXPECT_TRUE(waitUntil([&] {
      const Board seen = other.ownBoard();
      for (int i = 0; i < Board::kCells; ++i) {
        if (seen.cellAt(i) == -number) return true;
      }
      return false;
    }));
  }
  return calls;
}

void Scenario::placeInIndexOrder(TestPlayer& player) {
  player.placeManually();
  for (int index = 0; index < Board::kCells; ++index) {
    player.clickCell(index % Board::kSide, index / Board::kSide);
  }
}

}  // namespace pentaro::testing
