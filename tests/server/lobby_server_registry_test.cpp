// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Welcome, registration, departure, the slot limit and the server's end, seen byte for byte by
// raw players.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "lobby_server_fixture.h"
#include "support/port_holder.h"

namespace pentaro::testing {
namespace {

class ServerWelcome : public LobbyServerTest {};
class ServerRegistration : public LobbyServerTest {};
class ServerDeparture : public LobbyServerTest {};
class ServerLifecycle : public LobbyServerTest {};

TEST_F(ServerWelcome, FirstPlayerGetsIdZeroAndTheGreetingWithoutAdd) {
  RawClient first(port_);
  ASSERT_TRUE(first.connected());
  // "サーバのバージョンは 1.01 です。" spelled out in CP932.
  const std::string greeting =
      "MSG\t\x83\x54\x81\x5B\x83\x6F\x82\xCC\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x82\xCD"
      " 1.01 \x82\xC5\x82\xB7\x81\x42";
  EXPECT_EQ(greeting, greetingLine());
  EXPECT_EQ(first.readLine(), "ID\t0");
  EXPECT_EQ(first.readLine(), greeting);
  EXPECT_EQ(server_->nameOf(0), "?");
  EXPECT_EQ(watching(0), std::make_pair(kNone, kNone));
  // The next line answers NEW_C: nothing came between.
  first.sendLine("NEW_C\ttaro");
  EXPECT_EQ(first.readLine(), arrivalLine("taro"));
  EXPECT_EQ(first.readLine(), "ADD\t0\ttaro");
}

TEST_F(ServerWelcome, NewcomerGetsTheRosterInListOrderThenEveryMatchFromBothSides) {
  const std::string hanako = sjis("花子");
  roster_.addParticipant(0, "taro");
  roster_.addParticipant(2, hanako);
  roster_.addParticipant(3, "Jiro");
  roster_.addParticipant(5, "ken");
  roster_.startedMatch(0, 2);
  roster_.startedMatch(5, 3);
  // The list box reads: Jiro ★ ken, ken ★ Jiro, taro ★ 花子, 花子 ★ taro.
  RawClient& newcomer = arrive(0);
  EXPECT_EQ(newcomer.readLine(), "ADD\t3\tJiro");
  EXPECT_EQ(newcomer.readLine(), "ADD\t5\tken");
  EXPECT_EQ(newcomer.readLine(), "ADD\t0\ttaro");
  EXPECT_EQ(newcomer.readLine(), "ADD\t2\t" + hanako);
  EXPECT_EQ(newcomer.readLine(), "STLIST\tS\t3\t5");
  EXPECT_EQ(newcomer.readLine(), "STLIST\tS\t5\t3");
  EXPECT_EQ(newcomer.readLine(), "STLIST\tS\t0\t2");
  EXPECT_EQ(newcomer.readLine(), "STLIST\tS\t2\t0");
  expectQuietAfter(0);

  // The next newcomer sees the roster as it is now.
  roster_.endedMatch(5, 3);
  roster_.removeParticipant(0);
  RawClient& second = arrive(1);
  EXPECT_EQ(second.readLine(), "ADD\t3\tJiro");
  EXPECT_EQ(second.readLine(), "ADD\t5\tken");
  EXPECT_EQ(second.readLine(), "ADD\t2\t" + hanako);  // taro's departure freed 花子
  expectQuietAfter(1);
}

TEST_F(ServerWelcome, SecondPlayerLearnsOfTheFirstFromTheOwnClientsList) {
  enter(0, "taro");
  // What the server user's own client made of the lines it received.
  roster_.addParticipant(0, "taro");
  RawClient& second = arrive(1);
  EXPECT_EQ(second.readLine(), "ADD\t0\ttaro");
  second.sendLine("NEW_C\tjiro");
  names_[1] = "jiro";
  expectAtAll({arrivalLine("jiro"), "ADD\t1\tjiro"});
}

TEST_F(ServerWelcome, IdIsTheFirstLineEvenWhileOthersTalk) {
  enter(0, "taro");
  std::string chatter;
  for (int i = 0; i < 2000; ++i) chatter += "CHAT\t" + std::to_string(i) + "\r\n";
  player(0).send(chatter);
  for (int id = 1; id < LobbyServer::kSlots; ++id) {
    // Kept open, so that the next newcomer takes the next slot.
    auto& newcomer = players_[static_cast<std::size_t>(id)] = std::make_unique<RawClient>(port_);
    EXPECT_EQ(newcomer->readLine(), "ID\t" + std::to_string(id));
    EXPECT_EQ(newcomer->readLine(), greetingLine());
  }
}

TEST(ServerWelcomeWithoutRoster, GetsNoAddLines) {
  LobbyServer server;
  const int port = freePort();
  ASSERT_TRUE(server.startServer(port));
  RawClient a(port);
  EXPECT_EQ(a.readLine(), "ID\t0");
  EXPECT_EQ(a.readLine(), greetingLine());
  a.sendLine("NEW_C\ta");
  EXPECT_EQ(a.readLine(), arrivalLine("a"));
  RawClient b(port);
  EXPECT_EQ(b.readLine(), "ID\t1");
  EXPECT_EQ(b.readLine(), greetingLine());
  b.sendLine("CHAT\tx");
  EXPECT_EQ(b.readLine(), "CHAT\t1\t?\tx");
}

TEST_F(ServerRegistration, ArrivalGoesToEverybodyAsMsgThenAdd) {
  enter(0, "taro");
  RawClient& b = arrive(1);
  const std::string hanako = sjis("花子");
  b.sendLine("NEW_C\t" + hanako);
  for (int id : {0, 1}) {
    EXPECT_EQ(player(id).readLine(), "MSG\t" + hanako + sjis("さんの登場です"));
    EXPECT_EQ(player(id).readLine(), "ADD\t1\t" + hanako);
  }
  EXPECT_EQ(server_->nameOf(1), hanako);
}

TEST_F(ServerRegistration, EmptyDuplicateAndRepeatedNamesAreAllTaken) {
  enter(0, "taro");
  arrive(1).sendLine("NEW_C");
  names_[1] = "";
  expectAtAll({arrivalLine(""), "ADD\t1\t"});
  EXPECT_EQ(server_->nameOf(1), "");

  arrive(2).sendLine("NEW_C\ttaro");
  names_[2] = "taro";
  expectAtAll({arrivalLine("taro"), "ADD\t2\ttaro"});
  EXPECT_EQ(server_->nameOf(0), "taro");
  EXPECT_EQ(server_->nameOf(2), "taro");

  // A second NEW_C renames the player: its old line goes first (DEL), then it is announced
  // again; extra fields are ignored.
  player(1).sendLine("NEW_C\tjiro\textra");
  names_[1] = "jiro";
  expectAtAll({"DEL\t1", arrivalLine("jiro"), "ADD\t1\tjiro"});
  EXPECT_EQ(server_->nameOf(1), "jiro");
}

TEST_F(ServerDeparture, BeforeNewCIsAnnouncedUnderTheProvisionalName) {
  enter(0, "taro");
  arrive(1);
  player(1).close();
  players_[1].reset();
  EXPECT_EQ(player(0).readLine(), "DEL\t1");
  EXPECT_EQ(player(0).readLine(), "MSG\t?" + sjis("さんが、いなくなりました"));
  EXPECT_EQ(server_->nameOf(1), "");
}

TEST_F(ServerDeparture, AnnouncesDelThenMsgAndTheLowestFreeIdIsReused) {
  enter(0, "taro");
  enter(1, sjis("花子"));
  enter(2, "jiro");
  players_[1].reset();
  for (int id : {0, 2}) {
    EXPECT_EQ(player(id).readLine(), "DEL\t1");
    EXPECT_EQ(player(id).readLine(), departureLine(sjis("花子")));
  }
  EXPECT_EQ(server_->nameOf(1), "");
  names_[1].clear();

  arriveOnceFree(1).sendLine("NEW_C\tsaburo");
  names_[1] = "saburo";
  expectAtAll({arrivalLine("saburo"), "ADD\t1\tsaburo"});
  enter(3, "shiro");
}

TEST_F(ServerDeparture, LeavingInTheMiddleOfAMatchSendsNoMatchEnd) {
  enter(0, "taro");
  enter(1, "jiro");
  enter(2, "saburo");
  player(1).sendLine("RE_STARTVS\t0\tOK\t1");
  EXPECT_EQ(player(0).readLine(), "RE_STARTVS\t1\tOK\t1\t\t\t");
  expectAtAll({"STLIST\tS\t1\t0"});
  leave(0);
  expectQuietAfter(2);  // no END_VS, no STLIST E
}

TEST_F(ServerLifecycle, AnEleventhPlayerIsClosedAtOnceWhileTheTenGoOn) {
  for (int id = 0; id < LobbyServer::kSlots; ++id) arrive(id);
  RawClient eleventh(port_);
  ASSERT_TRUE(eleventh.connected());
  std::vector<std::string> lines;
  EXPECT_TRUE(eleventh.readToEnd(&lines));
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(eleventh.pending(), "");
  // Nobody learnt of it, and everybody is still served.
  expectQuietAfter(9);
  expectQuietAfter(0);
}

// A port scan or a client that gives up: connections closed right after their connect, faster
// than any accept loop takes them. None may find the kernel's queue full, which drops the
// connect and makes its client wait a second for the retry (the SYN is sent again).
TEST_F(ServerLifecycle, ConnectionsClosedAtOnceNeverMakeAConnectRetry) {
  constexpr int kConnections = 100;
  const sockaddr_in address = loopbackAddress(port_);
  int retried = 0;
  for (int i = 0; i < kConnections; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    tcp_info info{};
    socklen_t length = sizeof info;
    ASSERT_EQ(::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length), 0);
    retried += info.tcpi_total_retrans > 0 ? 1 : 0;
    ::close(fd);
  }
  EXPECT_EQ(retried, 0) << "connects that had to send their SYN again";
  // Every slot is free again for a player, once the queued connections are through (one that
  // comes while ten of them still hold a slot is refused).
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  std::optional<std::string> id;
  while (!id && std::chrono::steady_clock::now() < deadline) {
    RawClient player(port_);
    id = player.readLine();
  }
  EXPECT_TRUE(id.has_value());
}

TEST_F(ServerLifecycle, StopServerClosesEveryConnectionAndEndsOnce) {
  enter(0, "taro");
  enter(1, "jiro");
  enter(2, "saburo");
  server_->stopServer();
  for (int id : {0, 1, 2}) {
    std::vector<std::string> lines;
    EXPECT_TRUE(player(id).readToEnd(&lines)) << "player " << id;
    // Departures of the others may still reach a connection not yet closed, and nothing else.
    for (const std::string& line : lines) {
      EXPECT_TRUE(line.rfind("DEL\t", 0) == 0 || line.rfind("MSG\t", 0) == 0) << line;
    }
  }
  ASSERT_TRUE(waitForEnded(1));
  for (int id = 0; id < LobbyServer::kSlots; ++id) EXPECT_EQ(server_->nameOf(id), "") << id;
  RawClient late(port_);
  EXPECT_FALSE(late.connected());
  server_.reset();
  EXPECT_EQ(endedCount(), 1);
}

TEST_F(ServerLifecycle, CanBeStartedAgainAsSoonAsItHasEnded) {
  for (int round = 1; round <= 20; ++round) {
    server_->stopServer();
    ASSERT_TRUE(waitForEnded(round));
    ASSERT_TRUE(server_->startServer(port_)) << "round " << round;
    RawClient player(port_);
    EXPECT_EQ(player.readLine(), "ID\t0");
  }
}

// A host that stops and hosts again at once: the new start waits for the last accept worker,
// which may still be closing its players' connections.
TEST_F(ServerLifecycle, CanBeStartedAgainRightAfterItWasStopped) {
  for (int round = 1; round <= 20; ++round) {
    RawClient before(port_);  // in whichever slot the last round's player has left
    ASSERT_TRUE(before.readLine().has_value()) << "round " << round;
    server_->stopServer();
    ASSERT_TRUE(server_->startServer(port_)) << "round " << round;
    RawClient after(port_);
    EXPECT_EQ(after.readLine(), "ID\t0") << "round " << round;
  }
}

TEST_F(ServerLifecycle, APortThatCannotBeBoundEndsTheServerAtOnce) {
  // Another program listens on the port.
  PortHolder holder;
  ASSERT_TRUE(holder.holding());

  LobbyServer blocked;
  int ended = 0;
  std::mutex mutex;
  std::condition_variable changed;
  blocked.setEndedHandler([&](std::uint64_t) {
    std::lock_guard lock(mutex);
    ++ended;
    changed.notify_all();
  });
  blocked.startServer(holder.port());
  EXPECT_NE(blocked.listenError(), 0);
  std::unique_lock lock(mutex);
  EXPECT_TRUE(changed.wait_for(lock, kWait, [&] { return ended == 1; }));
}

}  // namespace
}  // namespace pentaro::testing
