// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The relay of every line but NEW_C, the match announcements and the watch entries, seen byte
// for byte by raw players.
#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "lobby_server_fixture.h"
#include "net/protocol.h"
#include "net/send_queue.h"

namespace pentaro::testing {
namespace {

class ServerRelay : public LobbyServerTest {
 protected:
  void SetUp() override {
    LobbyServerTest::SetUp();
    enter(0, "taro");
    enter(1, "jiro");
    enter(2, sjis("三郎"));
  }
};

class ServerWatch : public LobbyServerTest {
 protected:
  void SetUp() override {
    LobbyServerTest::SetUp();
    for (int id = 0; id < 5; ++id) enter(id, "p" + std::to_string(id));
  }

  // `watcher` asks `watched` for its board with `which`; the request reaches `watched`.
  void requestBoard(int watcher, int watched, std::string_view which) {
    player(watcher).sendLine("REQ_FL\t" + std::to_string(watched) + "\t" + std::string(which));
    EXPECT_EQ(player(watched).readLine(),
              "REQ_FL\t" + std::to_string(watcher) + "\t" + std::string(which) + "\t\t\t\t");
  }
  void watch(int watcher, int first, int second) {
    requestBoard(watcher, first, "I");
    requestBoard(watcher, second, "E");
    expectQuietAfter(watcher);
    ASSERT_EQ(watching(watcher), std::make_pair(first, second));
  }
};

int fieldCount(const std::string& line) {
  return 1 + static_cast<int>(std::count(line.begin(), line.end(), '\t'));
}

TEST_F(ServerRelay, ChatReachesEverybodyWithSenderIdAndRegisteredName) {
  const std::string text = sjis("こんにちは");
  player(2).sendLine("CHAT\t" + text + "\tignored");
  expectAtAll({"CHAT\t2\t" + sjis("三郎") + "\t" + text});
  player(0).sendLine("CHAT");
  expectAtAll({"CHAT\t0\ttaro\t"});
  arrive(3).sendLine("CHAT\thi");
  expectAtAll({"CHAT\t3\t?\thi"});
}

TEST_F(ServerRelay, MsgReachesOnlyTheAddresseeWithTheTextOnly) {
  const std::string text = sjis("対戦中です");
  player(2).sendLine("MSG\t0\t" + text + "\tmore");
  EXPECT_EQ(player(0).readLine(), "MSG\t" + text);
  player(2).sendLine("MSG\t1");
  EXPECT_EQ(player(1).readLine(), "MSG\t");
  player(2).sendLine("MSG\t7\tnobody");
  expectQuietAfter(2);
}

// Player 1 sends each line to player 0, which gets the command, the sender and a fixed number
// of further fields: PLOT 4 in all, SET_E_FL 30, everything else 7; missing ones empty.
TEST_F(ServerRelay, ForwardedLinesCarryTheSenderAndAFixedNumberOfFields) {
  // A board in index order, with two numbers already called.
  std::string cells;
  for (int n = 1; n <= 25; ++n) cells += "\t" + std::to_string(n == 7 || n == 19 ? -n : 26 - n);
  struct Case {
    std::string sent;
    std::string received;
    int fields;
  };
  const std::vector<Case> cases = {
      {"STARTVS\t0", "STARTVS\t1\t\t\t\t\t", 7},
      {"STARTVS\t0\ta\tb\tc\td\te\tf\tg", "STARTVS\t1\ta\tb\tc\td\te", 7},
      {"RE_STARTVS\t0\tNO", "RE_STARTVS\t1\tNO\t\t\t\t", 7},
      {"RE_STARTVS\t0\tNOW_VS\t2", "RE_STARTVS\t1\tNOW_VS\t2\t\t\t", 7},
      {"RE_STARTVS\t0\tok\t1", "RE_STARTVS\t1\tok\t1\t\t\t", 7},
      {"RE_STARTVS\t0\tOK \t1", "RE_STARTVS\t1\tOK \t1\t\t\t", 7},
      {"RE_STARTVS\t0", "RE_STARTVS\t1\t\t\t\t\t", 7},
      {"GET_VS_ID\t0", "GET_VS_ID\t1\t\t\t\t\t", 7},
      {"RE_VS_ID\t0\t-1", "RE_VS_ID\t1\t-1\t\t\t\t", 7},
      {"FOO\t0\ta\tb", "FOO\t1\ta\tb\t\t\t", 7},
      {"startvs\t0", "startvs\t1\t\t\t\t\t", 7},
      {"FOO\t 0junk\tx", "FOO\t1\tx\t\t\t\t", 7},
      {"FOO\tjunk\tx", "FOO\t1\tx\t\t\t\t", 7},
      {"", "\t1\t\t\t\t\t", 7},
      {"\t0\tz", "\t1\tz\t\t\t\t", 7},
      {"\t\t", "\t1\t\t\t\t\t", 7},
      {"PLOT\t0\t17", "PLOT\t1\t17\t", 4},
      {"PLOT\t0\t-3\tx\ty", "PLOT\t1\t-3\tx", 4},
      {"PLOT", "PLOT\t1\t\t", 4},
      {"SET_E_FL\t0" + cells, "SET_E_FL\t1" + cells + "\t\t\t", 30},
      {"SET_E_FL\t0" + cells + "\ta\tb\tc", "SET_E_FL\t1" + cells + "\ta\tb\tc", 30},
      {"SET_E_FL\t0", "SET_E_FL\t1" + std::string(28, '\t'), 30},
  };
  for (const Case& c : cases) {
    player(1).sendLine(c.sent);
    const std::optional<std::string> received = player(0).readLine();
    EXPECT_EQ(received, c.received) << "sent: " << c.sent;
    EXPECT_EQ(fieldCount(received.value_or("")), c.fields) << "sent: " << c.sent;
  }
  // To the addressee only, and no STLIST for anything but an exact "OK".
  expectQuietAfter(1);
}

TEST_F(ServerRelay, LinesToAFreeSlotOrOutsideTheSlotsGoNowhere) {
  for (const char* line :
       {"STARTVS\t5", "STARTVS\t-1", "STARTVS\t10", "STARTVS\t99999999999", "PLOT\t9\t3",
        "SET_E_FL\t-1\t1", "MSG\t6\tx", "GET_VS_ID\t-2147483648"}) {
    player(1).sendLine(line);
  }
  expectQuietAfter(1);
}

TEST_F(ServerRelay, AnAcceptanceIsForwardedThenAnnouncedToEverybody) {
  player(2).sendLine("RE_STARTVS\t0\tOK\t1");
  EXPECT_EQ(player(0).readLine(), "RE_STARTVS\t2\tOK\t1\t\t\t");
  expectAtAll({"STLIST\tS\t2\t0"});
  // Only two distinct players in the lobby's list make a match: without an addressee, to an
  // empty slot or to itself it is forwarded (to nobody, or to the sender) but not announced.
  player(1).sendLine("RE_STARTVS\t-1\tOK\t0");
  player(1).sendLine("RE_STARTVS\t7\tOK\t0");
  player(1).sendLine("RE_STARTVS\t1\tOK\t0");
  EXPECT_EQ(player(1).readLine(), "RE_STARTVS\t1\tOK\t0\t\t\t");
  expectQuietAfter(1);
}

TEST_F(ServerRelay, EndVsIsForwardedThenAnnouncedToEverybody) {
  player(2).sendLine("RE_STARTVS\t0\tOK\t1");
  EXPECT_EQ(player(0).readLine(), "RE_STARTVS\t2\tOK\t1\t\t\t");
  expectAtAll({"STLIST\tS\t2\t0"});
  player(0).sendLine("END_VS\t2");
  EXPECT_EQ(player(2).readLine(), "END_VS\t0\t\t\t\t\t");
  expectAtAll({"STLIST\tE\t0\t2"});
  // An end of a match nobody plays is relayed (to nobody here) and not announced.
  player(1).sendLine("END_VS\t-1");
  expectQuietAfter(1);
}

// The host announces only what its own table of matches allows, and relays every line as sent.
TEST_F(ServerRelay, AnnouncementsFollowTheHostsOwnMatchTable) {
  enter(3, "shiro");
  // A mutual challenge: both accept; the clients settle it into one match, announced once.
  player(2).sendLine("RE_STARTVS\t0\tOK\t1");
  EXPECT_EQ(player(0).readLine(), "RE_STARTVS\t2\tOK\t1\t\t\t");
  expectAtAll({"STLIST\tS\t2\t0"});
  player(0).sendLine("RE_STARTVS\t2\tOK\t0");
  EXPECT_EQ(player(2).readLine(), "RE_STARTVS\t0\tOK\t0\t\t\t");
  expectQuietAfter(0);
  EXPECT_EQ(server_->opponentOf(0), 2);

  // A late acceptance of a player who already plays: relayed, not announced; the player's
  // END_VS to the late acceptor ends nothing in anybody's list.
  player(1).sendLine("RE_STARTVS\t0\tOK\t1");
  EXPECT_EQ(player(0).readLine(), "RE_STARTVS\t1\tOK\t1\t\t\t");
  expectQuietAfter(1);
  player(0).sendLine("END_VS\t1");
  EXPECT_EQ(player(1).readLine(), "END_VS\t0\t\t\t\t\t");
  // Nor does an END_VS that names a player who plays somebody else.
  player(3).sendLine("END_VS\t2");
  EXPECT_EQ(player(2).readLine(), "END_VS\t3\t\t\t\t\t");
  expectQuietAfter(3);
  EXPECT_EQ(server_->opponentOf(2), 0);

  // The pair's own end is announced; both are free for a new match.
  player(2).sendLine("END_VS\t0");
  EXPECT_EQ(player(0).readLine(), "END_VS\t2\t\t\t\t\t");
  expectAtAll({"STLIST\tE\t2\t0"});
  player(3).sendLine("RE_STARTVS\t0\tOK\t0");
  EXPECT_EQ(player(0).readLine(), "RE_STARTVS\t3\tOK\t0\t\t\t");
  expectAtAll({"STLIST\tS\t3\t0"});
  // A player who leaves mid-match frees its opponent without an announcement.
  leave(3);
  EXPECT_EQ(server_->opponentOf(0), protocol::kNoPlayer);
  player(1).sendLine("RE_STARTVS\t0\tOK\t0");
  EXPECT_EQ(player(0).readLine(), "RE_STARTVS\t1\tOK\t0\t\t\t");
  expectAtAll({"STLIST\tS\t1\t0"});
}

TEST_F(ServerRelay, OverLongLinesAreDispatchedInPiecesOf125Bytes) {
  // Exactly 125 bytes arrive whole.
  const std::string a119(119, 'a');
  player(2).sendLine("FOO\t0\t" + a119);
  EXPECT_EQ(player(0).readLine(), "FOO\t2\t" + a119 + "\t\t\t\t");

  // The rest of a long chat is a line of its own, its field 0 a command, forwarded to field 1.
  const std::string x120(120, 'x');
  player(2).sendLine("CHAT\t" + x120 + "QQ\t1\tb");
  expectAtAll({"CHAT\t2\t" + sjis("三郎") + "\t" + x120});
  EXPECT_EQ(player(1).readLine(), "QQ\t2\tb\t\t\t\t");

  // A piece without field 1 goes to player 0.
  player(2).sendLine("FOO\t1\t" + a119 + "tail");
  EXPECT_EQ(player(1).readLine(), "FOO\t2\t" + a119 + "\t\t\t\t");
  EXPECT_EQ(player(0).readLine(), "tail\t2\t\t\t\t\t");

  // 250 bytes: two pieces of 125, nothing after them.
  const std::string y125(125, 'y');
  player(2).sendLine("FOO\t1\t" + a119 + y125);
  EXPECT_EQ(player(1).readLine(), "FOO\t2\t" + a119 + "\t\t\t\t");
  EXPECT_EQ(player(0).readLine(), y125 + "\t2\t\t\t\t\t");
  expectQuietAfter(2);
}

TEST_F(ServerRelay, LineEndsMayBeCrLfOrABareCrOrLf) {
  player(1).send("STARTVS\t0\nGET_VS_ID\t0\rFOO\t0\r\n");
  EXPECT_EQ(player(0).readLine(), "STARTVS\t1\t\t\t\t\t");
  EXPECT_EQ(player(0).readLine(), "GET_VS_ID\t1\t\t\t\t\t");
  EXPECT_EQ(player(0).readLine(), "FOO\t1\t\t\t\t\t");
  // A line sent in pieces is dispatched once it is complete.
  player(1).send("PLO");
  player(1).send("T\t0\t2");
  player(1).send("5\r");
  player(1).send("\n");
  EXPECT_EQ(player(0).readLine(), "PLOT\t1\t25\t");
  expectQuietAfter(1);
}

TEST_F(ServerRelay, LinesOfPlayersTalkingAtOnceArriveWholeAndInOrder) {
  constexpr int kLines = 300;
  std::vector<std::thread> talkers;
  for (int id = 0; id < 3; ++id) {
    talkers.emplace_back([this, id] {
      for (int n = 0; n < kLines; ++n) player(id).sendLine("CHAT\t" + std::to_string(n));
    });
  }
  for (std::thread& t : talkers) t.join();
  const std::vector<std::string> prefixes = {"CHAT\t0\ttaro\t", "CHAT\t1\tjiro\t",
                                             "CHAT\t2\t" + sjis("三郎") + "\t"};
  for (int reader = 0; reader < 3; ++reader) {
    std::vector<int> next(3, 0);
    for (int received = 0; received < 3 * kLines; ++received) {
      const std::optional<std::string> line = player(reader).readLine();
      ASSERT_TRUE(line.has_value()) << "player " << reader << " after " << received << " lines";
      int from = 0;
      while (from < 3 && line->rfind(prefixes[static_cast<std::size_t>(from)], 0) != 0) ++from;
      ASSERT_LT(from, 3) << *line;
      const std::string text = line->substr(prefixes[static_cast<std::size_t>(from)].size());
      ASSERT_EQ(text, std::to_string(next[static_cast<std::size_t>(from)]++));
    }
  }
  expectQuietAfter(0);
}

TEST_F(ServerRelay, LinesToAPlayerWhoIsLeavingAreDroppedQuietly) {
  std::thread challenger([this] {
    for (int n = 0; n < 500; ++n) player(1).sendLine("STARTVS\t2");
  });
  players_[2].reset();
  challenger.join();
  // The others see the departure, and nothing else.
  expectAtAll({"DEL\t2", departureLine(sjis("三郎"))});
  expectQuietAfter(1);
}

TEST_F(ServerRelay, APlayerWhoStopsReadingHoldsNobodyUpAndLeavesAtItsQueueLimit) {
  // Player 2 reads nothing more and fills its own queue with messages to itself, as fast as
  // the server takes them.
  server_->setFloodLimit(0);
  std::thread flooder([this] {
    const std::string message = "MSG\t2\t" + std::string(100, 'm') + "\r\n";
    std::string burst;
    for (int i = 0; i < 100; ++i) burst += message;
    for (std::size_t sent = 0; sent < 16 * SendQueue::kQueueLimit; sent += burst.size()) {
      if (!player(2).send(burst)) break;  // the server has closed the connection
    }
  });
  // Meanwhile taro and jiro chat, and each line reaches both within a second, until both have
  // seen player 2 leave the ordinary way.
  constexpr std::chrono::seconds kPrompt{1};
  std::array<bool, 2> sawDeparture{};
  auto expectChat = [&](int reader, int n) {
    for (;;) {
      const std::optional<std::string> line = player(reader).readLine(kPrompt);
      ASSERT_TRUE(line.has_value()) << "player " << reader << " waited for chat " << n;
      if (*line == "DEL\t2") {
        EXPECT_EQ(player(reader).readLine(kPrompt), departureLine(sjis("三郎")));
        sawDeparture[static_cast<std::size_t>(reader)] = true;
        continue;
      }
      ASSERT_EQ(*line, "CHAT\t" + std::to_string(n % 2) + "\t" + (n % 2 ? "jiro" : "taro") + "\t" +
                           std::to_string(n));
      return;
    }
  };
  constexpr int kMostChats = 200000;
  for (int n = 0; n < kMostChats && !(sawDeparture[0] && sawDeparture[1]); ++n) {
    player(n % 2).sendLine("CHAT\t" + std::to_string(n));
    expectChat(0, n);
    expectChat(1, n);
    if (HasFatalFailure()) break;
  }
  flooder.join();
  EXPECT_TRUE(sawDeparture[0] && sawDeparture[1]);
  players_[2].reset();
  expectQuietAfter(0);
}

TEST_F(ServerRelay, AFlooderIsSlowedAloneAndLosesNothing) {
  constexpr int kRate = 20;
  constexpr int kLines = kRate * LobbyServer::kFloodBurstSeconds + 50;  // the burst, then more
  server_->setFloodLimit(kRate);
  std::string flood;
  for (int n = 0; n < kLines; ++n) flood += "CHAT\t" + std::to_string(n) + "\r\n";
  ASSERT_TRUE(player(0).send(flood));
  // The last lines of the flood wait for their tokens; jiro's line does not wait for them.
  player(1).sendLine("CHAT\tmeanwhile");
  const std::string jiros = "CHAT\t1\tjiro\tmeanwhile";
  for (int reader = 0; reader < 3; ++reader) {
    int next = 0;
    int jiroAt = -1;
    for (int received = 0; received <= kLines; ++received) {
      const std::optional<std::string> line = player(reader).readLine();
      ASSERT_TRUE(line.has_value()) << "player " << reader << " after " << received << " lines";
      if (*line == jiros) {
        jiroAt = received;
      } else {
        ASSERT_EQ(*line, "CHAT\t0\ttaro\t" + std::to_string(next++));
      }
    }
    EXPECT_GE(jiroAt, 0) << "player " << reader;
    EXPECT_LT(jiroAt, kLines) << "player " << reader << ": jiro's line waited for the flood";
  }
  expectQuietAfter(1);
}

TEST_F(ServerRelay, AFlooderFarAheadOfTheRateIsEndedTheOrdinaryWay) {
  constexpr int kRate = 20;
  constexpr int kBurst = kRate * LobbyServer::kFloodBurstSeconds;
  // Twice as many lines waiting as the backlog bound allows, after the burst.
  constexpr int kLines = kBurst + 2 * kRate * LobbyServer::kFloodBacklogSeconds;
  server_->setFloodLimit(kRate);
  std::string flood;
  for (int n = 0; n < kLines; ++n) flood += "CHAT\t" + std::to_string(n) + "\r\n";
  ASSERT_TRUE(player(0).send(flood));
  // The others get the burst's lines at most, in order, then taro leaves the ordinary way.
  for (int reader = 1; reader < 3; ++reader) {
    int next = 0;
    std::optional<std::string> line;
    while ((line = player(reader).readLine()) && *line != "DEL\t0") {
      ASSERT_EQ(*line, "CHAT\t0\ttaro\t" + std::to_string(next++)) << "player " << reader;
    }
    EXPECT_EQ(line, "DEL\t0") << "player " << reader;
    EXPECT_LE(next, kBurst + 1) << "player " << reader;
    EXPECT_EQ(player(reader).readLine(), departureLine("taro"));
  }
  EXPECT_TRUE(player(0).readToEnd());
  players_[0].reset();
  expectQuietAfter(1);
}

TEST_F(ServerWatch, ReqFlSetsAnEntryByTheFirstByteOfItsLetter) {
  requestBoard(2, 0, "Ifoo");
  expectQuietAfter(2);
  EXPECT_EQ(watching(2), std::make_pair(0, kNone));
  requestBoard(2, 1, "E");
  expectQuietAfter(2);
  EXPECT_EQ(watching(2), std::make_pair(0, 1));
  // Other letters, or none, change nothing; the request is forwarded all the same.
  requestBoard(2, 3, "X");
  requestBoard(2, 3, "i");
  requestBoard(2, 3, "");
  expectQuietAfter(2);
  EXPECT_EQ(watching(2), std::make_pair(0, 1));
  // -1 is kept in 8 bits, which reads as none.
  player(2).sendLine("REQ_FL\t-1\tI");
  expectQuietAfter(2);
  EXPECT_EQ(watching(2), std::make_pair(kNone, 1));
  // Only a player who is there can be watched: an empty slot, whose next player would be watched
  // unasked, or an id whose low 8 bits name a player (257 is 1), gives none as well.
  player(2).sendLine("REQ_FL\t7\tI");
  player(2).sendLine("REQ_FL\t257\tE");
  expectQuietAfter(2);
  EXPECT_EQ(watching(2), std::make_pair(kNone, kNone));
}

TEST_F(ServerWatch, PlotReachesTheOpponentAndEveryWatcherOfTheCaller) {
  watch(2, 0, 1);
  watch(3, 0, 0);  // both entries name player 0: two copies
  watch(4, 1, 3);
  player(0).sendLine("PLOT\t1\t17");
  EXPECT_EQ(player(1).readLine(), "PLOT\t0\t17\t");
  EXPECT_EQ(player(2).readLine(), "PLOT\t0\t17\t");
  EXPECT_EQ(player(3).readLine(), "PLOT\t0\t17\t");
  EXPECT_EQ(player(3).readLine(), "PLOT\t0\t17\t");
  expectQuietAfter(0);

  player(1).sendLine("PLOT\t0\t5");
  EXPECT_EQ(player(0).readLine(), "PLOT\t1\t5\t");
  EXPECT_EQ(player(2).readLine(), "PLOT\t1\t5\t");
  EXPECT_EQ(player(4).readLine(), "PLOT\t1\t5\t");
  expectQuietAfter(1);

  // Nothing checks that the caller plays a match, or with whom.
  player(3).sendLine("PLOT\t2\t9");
  EXPECT_EQ(player(2).readLine(), "PLOT\t3\t9\t");
  EXPECT_EQ(player(4).readLine(), "PLOT\t3\t9\t");
  expectQuietAfter(3);
}

TEST_F(ServerWatch, AnswerToGetVsIdClearsTheAskersEntries) {
  watch(2, 0, 1);
  watch(3, 0, 1);
  player(2).sendLine("GET_VS_ID\t4");
  EXPECT_EQ(player(4).readLine(), "GET_VS_ID\t2\t\t\t\t\t");
  player(4).sendLine("RE_VS_ID\t2\t-1");
  EXPECT_EQ(player(2).readLine(), "RE_VS_ID\t4\t-1\t\t\t\t");
  expectQuietAfter(4);
  EXPECT_EQ(watching(2), std::make_pair(kNone, kNone));
  EXPECT_EQ(watching(3), std::make_pair(0, 1));
  // An answer to nobody changes nothing.
  player(4).sendLine("RE_VS_ID\t-1\t0");
  expectQuietAfter(4);
  EXPECT_EQ(watching(3), std::make_pair(0, 1));
}

TEST_F(ServerWatch, AcceptanceClearsBothPlayersEntriesOnly) {
  watch(2, 0, 1);
  watch(3, 1, 0);
  watch(4, 2, 3);
  player(2).sendLine("RE_STARTVS\t3\tok\t1");  // not an acceptance
  EXPECT_EQ(player(3).readLine(), "RE_STARTVS\t2\tok\t1\t\t\t");
  expectQuietAfter(2);
  EXPECT_EQ(watching(2), std::make_pair(0, 1));

  player(2).sendLine("RE_STARTVS\t3\tOK\t0");
  EXPECT_EQ(player(3).readLine(), "RE_STARTVS\t2\tOK\t0\t\t\t");
  expectAtAll({"STLIST\tS\t2\t3"});
  expectQuietAfter(2);
  EXPECT_EQ(watching(2), std::make_pair(kNone, kNone));
  EXPECT_EQ(watching(3), std::make_pair(kNone, kNone));
  EXPECT_EQ(watching(4), std::make_pair(2, 3));  // those who watch them keep watching

  // An acceptance sent to nobody clears the sender's entries and nothing else (and announces no
  // match).
  watch(1, 4, 0);
  player(1).sendLine("RE_STARTVS\t-1\tOK\t0");
  expectQuietAfter(1);
  EXPECT_EQ(watching(1), std::make_pair(kNone, kNone));
  EXPECT_EQ(watching(4), std::make_pair(2, 3));
}

TEST_F(ServerWatch, EndVsClearsEveryEntryNamingEitherPlayer) {
  player(1).sendLine("RE_STARTVS\t0\tOK\t1");
  EXPECT_EQ(player(0).readLine(), "RE_STARTVS\t1\tOK\t1\t\t\t");
  expectAtAll({"STLIST\tS\t1\t0"});
  watch(2, 0, 1);
  watch(3, 0, 0);
  watch(4, 2, 1);
  player(0).sendLine("END_VS\t1");
  EXPECT_EQ(player(1).readLine(), "END_VS\t0\t\t\t\t\t");
  expectAtAll({"STLIST\tE\t0\t1"});
  EXPECT_EQ(watching(2), std::make_pair(kNone, kNone));
  EXPECT_EQ(watching(3), std::make_pair(kNone, kNone));
  EXPECT_EQ(watching(4), std::make_pair(2, kNone));
  // The calls of those two reach their addressee only.
  player(0).sendLine("PLOT\t1\t3");
  EXPECT_EQ(player(1).readLine(), "PLOT\t0\t3\t");
  expectQuietAfter(0);

  // An end sent to nobody by a player in no match clears the entries naming the sender (and
  // announces nothing).
  watch(3, 2, 4);
  player(2).sendLine("END_VS\t-1");
  expectQuietAfter(2);
  EXPECT_EQ(watching(3), std::make_pair(kNone, 4));
  EXPECT_EQ(watching(4), std::make_pair(kNone, kNone));
}

TEST_F(ServerWatch, DepartureClearsTheLeaversEntriesAndEveryEntryNamingIt) {
  watch(1, 3, 4);
  watch(2, 0, 1);
  watch(3, 1, 1);
  leave(1);
  EXPECT_EQ(watching(1), std::make_pair(kNone, kNone));
  EXPECT_EQ(watching(2), std::make_pair(0, kNone));
  EXPECT_EQ(watching(3), std::make_pair(kNone, kNone));
  // Whoever takes the slot next is watched by nobody.
  arriveOnceFree(1).sendLine("NEW_C\tnew");
  names_[1] = "new";
  expectAtAll({arrivalLine("new"), "ADD\t1\tnew"});
  player(1).sendLine("PLOT\t0\t8");
  EXPECT_EQ(player(0).readLine(), "PLOT\t1\t8\t");
  expectQuietAfter(1);
  EXPECT_EQ(watching(1), std::make_pair(kNone, kNone));
}

}  // namespace
}  // namespace pentaro::testing
