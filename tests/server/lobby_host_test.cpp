// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The lobby host `pentaro-lobby`, run as a child process and talked to by raw players.
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "lobby_server_fixture.h"
#include "net/host_addresses.h"
#include "support/port_holder.h"
#include "support/raw_client.h"

namespace pentaro::testing {
namespace {

// A host on a free port that has said it listens.
class ServerHost : public ::testing::Test {
 protected:
  void start() {
    port_ = freePort();
    ASSERT_GT(port_, 0);
    host_ = std::make_unique<ChildProcess>(
        // Not announced: the log is the host's alone, whatever daemon the machine runs.
        std::vector<std::string>{PENTARO_LOBBY_PATH, "--port", std::to_string(port_),
                                 "--no-announce"});
    ASSERT_TRUE(host_->started());
    ASSERT_EQ(host_->readOutputLine(), "listening on port " + std::to_string(port_));
    // Then where players on other machines connect, from this machine's own address list.
    const std::optional<std::vector<HostAddress>> addresses = hostAddresses();
    ASSERT_TRUE(addresses.has_value());
    if (addresses->empty()) {
      ASSERT_EQ(host_->readOutputLine(), "only this machine can join: it has no network address");
    }
    for (const HostAddress& a : *addresses) {
      ASSERT_EQ(host_->readOutputLine(),
                "reachable at " + a.address + " (" + a.interfaceName + ")");
    }
  }

  std::unique_ptr<RawClient> arrive(int id) {
    auto client = std::make_unique<RawClient>(port_);
    EXPECT_TRUE(client->connected());
    EXPECT_EQ(client->readLine(), "ID\t" + std::to_string(id));
    EXPECT_EQ(client->readLine(), greetingLine());
    return client;
  }

  int port_ = -1;
  std::unique_ptr<ChildProcess> host_;
};

TEST_F(ServerHost, ServesPlayersFromItsOwnRosterAndLogsWhatHappens) {
  start();
  auto alice = arrive(0);
  alice->sendLine("NEW_C\talice");
  EXPECT_EQ(alice->readLine(), arrivalLine("alice"));
  EXPECT_EQ(alice->readLine(), "ADD\t0\talice");
  EXPECT_EQ(host_->readOutputLine(), "join 0 alice");

  auto bob = arrive(1);
  EXPECT_EQ(bob->readLine(), "ADD\t0\talice");
  bob->sendLine("NEW_C\tbob");
  for (RawClient* c : {alice.get(), bob.get()}) {
    EXPECT_EQ(c->readLine(), arrivalLine("bob"));
    EXPECT_EQ(c->readLine(), "ADD\t1\tbob");
  }
  EXPECT_EQ(host_->readOutputLine(), "join 1 bob");

  bob->sendLine("RE_STARTVS\t0\tOK\t1");
  EXPECT_EQ(alice->readLine(), "RE_STARTVS\t1\tOK\t1\t\t\t");
  EXPECT_EQ(alice->readLine(), "STLIST\tS\t1\t0");
  EXPECT_EQ(bob->readLine(), "STLIST\tS\t1\t0");
  EXPECT_EQ(host_->readOutputLine(), "match 1 bob vs 0 alice started");

  // A newcomer learns of both players and of their match from the host's roster.
  auto hanako = arrive(2);
  EXPECT_EQ(hanako->readLine(), "ADD\t0\talice");
  EXPECT_EQ(hanako->readLine(), "ADD\t1\tbob");
  EXPECT_EQ(hanako->readLine(), "STLIST\tS\t0\t1");
  EXPECT_EQ(hanako->readLine(), "STLIST\tS\t1\t0");
  hanako->sendLine("NEW_C\t" + sjis("花子"));
  for (RawClient* c : {alice.get(), bob.get(), hanako.get()}) {
    EXPECT_EQ(c->readLine(), arrivalLine(sjis("花子")));
    EXPECT_EQ(c->readLine(), "ADD\t2\t" + sjis("花子"));
  }
  EXPECT_EQ(host_->readOutputLine(), "join 2 花子");  // the log is UTF-8

  alice->sendLine("END_VS\t1");
  EXPECT_EQ(bob->readLine(), "END_VS\t0\t\t\t\t\t");
  for (RawClient* c : {alice.get(), bob.get(), hanako.get()}) {
    EXPECT_EQ(c->readLine(), "STLIST\tE\t0\t1");
  }
  EXPECT_EQ(host_->readOutputLine(), "match 0 alice vs 1 bob ended");

  alice.reset();
  for (RawClient* c : {bob.get(), hanako.get()}) {
    EXPECT_EQ(c->readLine(), "DEL\t0");
    EXPECT_EQ(c->readLine(), departureLine("alice"));
  }
  EXPECT_EQ(host_->readOutputLine(), "leave 0 alice");

  // The match has ended and alice has gone: a newcomer hears of bob and 花子 only. (Its slot is
  // 0, or 3 if alice's worker had not quite ended.)
  RawClient late(port_);
  const std::optional<std::string> id = late.readLine();
  EXPECT_TRUE(id == "ID\t0" || id == "ID\t3") << id.value_or("(nothing)");
  EXPECT_EQ(late.readLine(), greetingLine());
  EXPECT_EQ(late.readLine(), "ADD\t1\tbob");
  EXPECT_EQ(late.readLine(), "ADD\t2\t" + sjis("花子"));
  late.sendLine("CHAT\thi");
  EXPECT_EQ(late.readLine(), "CHAT\t" + id.value_or("").substr(3) + "\t?\thi");

  ASSERT_TRUE(host_->signal(SIGTERM));
  for (RawClient* c : {bob.get(), hanako.get(), &late}) EXPECT_TRUE(c->readToEnd());
  EXPECT_EQ(host_->waitForExit(), 0);
}

// The host logs under the server's lock; a log nobody reads must never hold up the players.
TEST_F(ServerHost, ALogNobodyReadsHoldsUpNoPlayer) {
  start();
  constexpr int kPipeBytes = 4096;
  constexpr int kVisits = 300;  // each logs a join and a leave: many times the pipe's size
  ASSERT_TRUE(host_->setOutputPipeSize(kPipeBytes));
  auto alice = arrive(0);
  alice->sendLine("NEW_C\talice");
  EXPECT_EQ(alice->readLine(), arrivalLine("alice"));
  EXPECT_EQ(alice->readLine(), "ADD\t0\talice");
  // One visitor after another joins and leaves; alice hears of each.
  for (int i = 0; i < kVisits; ++i) {
    std::string id;
    {
      RawClient visitor(port_);
      const std::optional<std::string> idLine = visitor.readLine();
      ASSERT_TRUE(idLine && idLine->rfind("ID\t", 0) == 0) << "visit " << i;
      id = idLine->substr(3);  // the previous visitor's slot may not be free yet
      visitor.sendLine("NEW_C\tvisitor");
      ASSERT_EQ(alice->readLine(), arrivalLine("visitor")) << "visit " << i;
      ASSERT_EQ(alice->readLine(), "ADD\t" + id + "\tvisitor") << "visit " << i;
    }
    ASSERT_EQ(alice->readLine(), "DEL\t" + id) << "visit " << i;
    ASSERT_EQ(alice->readLine(), departureLine("visitor")) << "visit " << i;
  }
  alice->sendLine("CHAT\tstill here");
  EXPECT_EQ(alice->readLine(), "CHAT\t0\talice\tstill here");
  ASSERT_TRUE(host_->signal(SIGTERM));
  EXPECT_TRUE(alice->readToEnd());
  EXPECT_EQ(host_->waitForExit(), 0);
}

// A flooder far ahead of the line rate is ended, and the host says why before its departure.
TEST_F(ServerHost, LogsAFlooderItEnds) {
  port_ = freePort();
  host_ = std::make_unique<ChildProcess>(std::vector<std::string>{
      PENTARO_LOBBY_PATH, "--port", std::to_string(port_), "--flood-limit", "10", "--no-announce"});
  ASSERT_TRUE(host_->started());
  ASSERT_EQ(host_->readOutputLine(), "listening on port " + std::to_string(port_));
  auto flooder = std::make_unique<RawClient>(port_);
  std::string flood = "NEW_C\tflooder\r\n";
  for (int n = 0; n < 2000; ++n) flood += "CHAT\tx\r\n";
  ASSERT_TRUE(flooder->send(flood));
  EXPECT_TRUE(flooder->readToEnd());
  std::optional<std::string> line;
  while ((line = host_->readOutputLine()) && line->rfind("flood ", 0) != 0) {
  }
  EXPECT_EQ(line, "flood 0 flooder: ended, too many lines waiting");
  EXPECT_EQ(host_->readOutputLine(), "leave 0 flooder");
}

class ServerHostSignal : public ServerHost {
 protected:
  void closesEveryConnectionAndExitsZeroOn(int signal);
};

void ServerHostSignal::closesEveryConnectionAndExitsZeroOn(int signal) {
  start();
  const std::vector<std::string> names = {"a", "b", "c"};
  std::vector<std::unique_ptr<RawClient>> players;
  for (int id = 0; id < 3; ++id) {
    const std::string& name = names[static_cast<std::size_t>(id)];
    players.push_back(arrive(id));
    for (int known = 0; known < id; ++known) {
      EXPECT_EQ(players.back()->readLine(),
                "ADD\t" + std::to_string(known) + "\t" + names[static_cast<std::size_t>(known)]);
    }
    players.back()->sendLine("NEW_C\t" + name);
    for (auto& p : players) {
      EXPECT_EQ(p->readLine(), arrivalLine(name));
      EXPECT_EQ(p->readLine(), "ADD\t" + std::to_string(id) + "\t" + name);
    }
    EXPECT_EQ(host_->readOutputLine(), "join " + std::to_string(id) + " " + name);
  }

  ASSERT_TRUE(host_->signal(signal));
  for (auto& p : players) EXPECT_TRUE(p->readToEnd());
  EXPECT_EQ(host_->waitForExit(), 0) << host_->errors();
  // Every departure is logged, in whatever order the connections ended, then the count of lines
  // the players sent, and the end.
  std::vector<std::string> log;
  for (std::optional<std::string> line; (line = host_->readOutputLine());) log.push_back(*line);
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log.back(), "stopped");
  log.pop_back();
  EXPECT_EQ(log.back(), "lines received 3");  // the three registrations
  log.pop_back();
  std::sort(log.begin(), log.end());
  EXPECT_EQ(log, (std::vector<std::string>{"leave 0 a", "leave 1 b", "leave 2 c"}));
  RawClient after(port_);
  EXPECT_FALSE(after.connected());
}

TEST_F(ServerHostSignal, SigintClosesEveryConnectionAndExitsZero) {
  closesEveryConnectionAndExitsZeroOn(SIGINT);
}

TEST_F(ServerHostSignal, SigtermClosesEveryConnectionAndExitsZero) {
  closesEveryConnectionAndExitsZeroOn(SIGTERM);
}

TEST_F(ServerHost, APortAlreadyTakenIsAnErrorOnStandardError) {
  PortHolder holder;
  ASSERT_TRUE(holder.holding());
  const std::string port = std::to_string(holder.port());

  ChildProcess host({PENTARO_LOBBY_PATH, "--port", port});
  ASSERT_TRUE(host.started());
  const std::optional<int> status = host.waitForExit();
  ASSERT_TRUE(status.has_value());
  EXPECT_NE(*status, 0);
  EXPECT_LT(*status, 128) << "killed by a signal";
  EXPECT_NE(host.errors().find("port " + port), std::string::npos) << host.errors();
  EXPECT_EQ(host.output().find("listening"), std::string::npos) << host.output();
}

TEST_F(ServerHost, HelpAndBadArguments) {
  ChildProcess help({PENTARO_LOBBY_PATH, "--help"});
  EXPECT_EQ(help.waitForExit(), 0);
  EXPECT_EQ(help.output().rfind("usage: pentaro-lobby [--port N] ", 0), 0u) << help.output();
  ChildProcess version({PENTARO_LOBBY_PATH, "--version"});
  EXPECT_EQ(version.waitForExit(), 0);
  // The name and version, then the copyright and licence as GNU programs state them.
  EXPECT_EQ(version.output().rfind("pentaro-lobby " PENTARO_VERSION "\nCopyright (C) ", 0), 0u)
      << version.output();
  EXPECT_NE(version.output().find("\nLicense GPLv3+: GNU GPL version 3 or later"),
            std::string::npos)
      << version.output();

  for (const std::vector<std::string>& args : {std::vector<std::string>{"--port"},
                                               {"--port", "12ab"},
                                               {"--port", "0"},
                                               {"--port", "65536"},
                                               {"--flood-limit"},
                                               {"--flood-limit", "-1"},
                                               {"--flood-limit", "10x"},
                                               {"--name"},
                                               {"--bogus"}}) {
    std::vector<std::string> argv{PENTARO_LOBBY_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    ChildProcess bad(argv);
    const std::optional<int> status = bad.waitForExit();
    ASSERT_TRUE(status.has_value()) << args.back();
    EXPECT_NE(*status, 0) << args.back();
    EXPECT_LT(*status, 128) << args.back();
    EXPECT_FALSE(bad.errors().empty()) << args.back();
    EXPECT_EQ(bad.output(), "") << args.back();
  }
}

}  // namespace
}  // namespace pentaro::testing
