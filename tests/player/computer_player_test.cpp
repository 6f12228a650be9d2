// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A computer player in a real lobby over loopback, against a scripted raw client that speaks the
// protocol line by line: it challenges the computer, exchanges maps and calls numbers in order.
#include "player/computer_player.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "net/message_fields.h"
#include "server/announced_roster.h"
#include "server/lobby_server.h"
#include "support/raw_client.h"

namespace pentaro {
namespace {

using testing::RawClient;

// The raw client's next line whose command is `command`; announcements and notices pass by.
std::optional<std::string> readUntil(RawClient& client, std::string_view command) {
  while (auto line = client.readLine()) {
    if (MessageFields(*line).is(command)) return line;
  }
  return std::nullopt;
}

TEST(ComputerPlayer, PlaysAWholeMatchAgainstARawClientAndEndsIt) {
  AnnouncedRoster roster;
  LobbyServer server;
  server.setRoster(&roster);
  server.setAnnouncementSink([&roster](std::string_view line) { roster.apply(line); });
  const int port = testing::freePort();
  ASSERT_TRUE(server.startServer(port));

  std::vector<std::string> log;
  std::mutex logMutex;
  ComputerPlayer::Options options;
  options.port = port;
  options.name = "cpu";
  options.pause = std::chrono::milliseconds(0);
  options.log = [&](const std::string& line) {
    std::lock_guard lock(logMutex);
    log.push_back(line);
  };
  auto computer = std::make_unique<ComputerPlayer>(options);

  RawClient person(port);
  ASSERT_TRUE(person.connected());
  // The computer joins by itself, before or after the person: its ADD names it.
  ASSERT_TRUE(readUntil(person, "ID"));
  ASSERT_TRUE(person.sendLine("NEW_C\tperson"));
  int cpu = -1;
  while (cpu < 0) {
    const auto add = readUntil(person, "ADD");
    ASSERT_TRUE(add);
    if (MessageFields(*add).field(2) == "cpu") cpu = MessageFields(*add).number(1);
  }
  const std::string cpuId = std::to_string(cpu);
  ASSERT_TRUE(person.sendLine("STARTVS\t" + cpuId));

  const auto answerLine = readUntil(person, "RE_STARTVS");
  ASSERT_TRUE(answerLine);
  const MessageFields answer(*answerLine);
  EXPECT_EQ(answer.field(2), "OK");
  const bool personFirst = answer.number(3) == 0;
  const auto mapLine = readUntil(person, "SET_E_FL");
  ASSERT_TRUE(mapLine);
  const MessageFields map(*mapLine);
  Board computerBoard, personBoard;
  std::set<int> numbers;
  for (int i = 0; i < Board::kCells; ++i) {
    computerBoard.setCell(map.number(2 + i), i % 5, i / 5);
    numbers.insert(map.number(2 + i));
  }
  EXPECT_EQ(numbers.size(), 25u);
  EXPECT_EQ(*numbers.begin(), 1);
  std::string ownMap = "SET_E_FL\t" + cpuId;
  for (int i = 0; i < Board::kCells; ++i) {
    personBoard.setCell(i + 1, i % 5, i / 5);
    ownMap += "\t" + std::to_string(i + 1);
  }
  ASSERT_TRUE(person.sendLine(ownMap));

  // The person calls its lowest open number; each number may be called once.
  std::set<int> called;
  bool personsTurn = personFirst;
  auto decided = [&] { return computerBoard.hasFiveLines() || personBoard.hasFiveLines(); };
  while (!decided()) {
    int number = 0;
    if (personsTurn) {
      for (number = 1; called.count(number); ++number) {
      }
      ASSERT_TRUE(person.sendLine("PLOT\t" + cpuId + "\t" + std::to_string(number)));
    } else {
      const auto plot = readUntil(person, "PLOT");
      ASSERT_TRUE(plot);
      number = MessageFields(*plot).number(2);
      ASSERT_GE(number, 1);
      ASSERT_LE(number, 25);
      ASSERT_FALSE(called.count(number)) << "called twice: " << number;
    }
    called.insert(number);
    computerBoard.mark(number);
    personBoard.mark(number);
    personsTurn = !personsTurn;
  }
  // The computer ends the decided match: at once with the lower id, else when the person has not.
  ASSERT_TRUE(readUntil(person, "END_VS"));
  const bool computerFive = computerBoard.hasFiveLines(), personFive = personBoard.hasFiveLines();
  const std::string expected = computerFive && personFive ? "draw" : computerFive ? "win" : "loss";
  for (int i = 0;
       i < 500 &&
       computer->record().wins + computer->record().losses + computer->record().draws == 0;
       ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  {
    std::lock_guard lock(logMutex);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "match cpu vs person: " + expected);
  }
  EXPECT_TRUE(computer->idle());
  const ComputerPlayer::Record record = computer->record();
  EXPECT_EQ(record.aborted, 0);
  EXPECT_FALSE(record.lostConnection);

  // Leaving closes its connection: the person reads its departure.
  computer.reset();
  EXPECT_TRUE(readUntil(person, "DEL"));
  server.stopServer();
}

}  // namespace
}  // namespace pentaro
