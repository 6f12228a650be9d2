// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/tcp_connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/connection_slot.h"
#include "support/events.h"
#include "net/send_queue.h"

namespace pentaro {
namespace {

using testing::Events;
using testing::finishesInTime;
using testing::freePort;
using testing::loopbackAddress;

// A connection's owner that records every callback and its thread; the connection is its last
// member.
class TestConnection final : private TcpConnection::Handler {
 public:
  bool open(const std::string& host, int port) { return connection_.open(host, port); }
  void disconnect() { connection_.disconnect(); }
  bool sendLine(std::string_view text) { return connection_.sendLine(text); }
  bool isConnected() const { return connection_.isConnected(); }
  bool running() const { return connection_.running(); }
  void waitUntilEnded() { connection_.waitUntilEnded(); }

  Events events;
  std::vector<std::thread::id> callbackThreads() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return threads_;
  }

 private:
  void onConnected() override { record("connected"); }
  void onConnectFailed() override { record("connect failed"); }
  void onClosed() override { record("closed"); }
  void onLineReceived(std::string_view line) override { record("line " + std::string(line)); }

  void record(std::string event) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      threads_.push_back(std::this_thread::get_id());
    }
    events.add(std::move(event));
  }

  mutable std::mutex mutex_;
  std::vector<std::thread::id> threads_;  // guarded by mutex_
  TcpConnection connection_{*this};
};

// A listening StreamSocket on a fresh port, for the connection to reach.
class ConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(listener_.makeSocket());
    ASSERT_EQ(listener_.bindAndListen(0, 1), 0);
    port_ = listener_.localPort();
  }
  // Opens the connection and takes its server end. The connect completes in the backlog, so
  // the accept does not block once onConnected has come.
  void connect(TestConnection& connection) {
    ASSERT_TRUE(connection.open("127.0.0.1", port_));
    ASSERT_TRUE(connection.events.waitFor("connected"));
    ASSERT_TRUE(listener_.acceptInto(server_));
  }
  std::string serverLine() {
    char line[ConnectionSlot::kLineBufferBytes];
    return server_.readLine(line, ConnectionSlot::kLineLimit) == StreamSocket::kLine ? line : "?";
  }

  StreamSocket listener_;
  StreamSocket server_;
  int port_ = 0;
};

using NetConnection = ConnectionTest;

TEST_F(NetConnection, DeliversWholeLinesAndDropsOverLongOnesWhole) {
  TestConnection connection;
  connect(connection);
  EXPECT_TRUE(connection.isConnected());
  ASSERT_TRUE(connection.sendLine("NEW_C\tname"));
  EXPECT_EQ(serverLine(), "NEW_C\tname");

  const std::string longest(TcpConnection::kLineLimit, 'a');
  for (const std::string& line : {longest, std::string(TcpConnection::kLineLimit + 1, 'b'),
                                  std::string(3000, 'c'), std::string("NEXT"), std::string()}) {
    ASSERT_TRUE(server_.writeLine(line));
  }
  server_.close();
  ASSERT_TRUE(connection.events.waitFor("closed"));
  EXPECT_EQ(connection.events.all(), (std::vector<std::string>{"connected", "line " + longest,
                                                               "line NEXT", "line ", "closed"}));
  EXPECT_FALSE(connection.isConnected());
  EXPECT_FALSE(connection.sendLine("CHAT\tlate"));
}

TEST_F(NetConnection, SendingNeverWaitsForAServerThatStopsReading) {
  TestConnection connection;
  connect(connection);  // and the server end reads nothing
  const std::string line(1000, 'x');
  const int most = static_cast<int>(16 * SendQueue::kQueueLimit / line.size());
  int accepted = 0;
  EXPECT_TRUE(finishesInTime([&] {
    while (accepted < most && connection.sendLine(line)) ++accepted;
  }));
  // The queue gives up at its limit, and the connection ends the ordinary way.
  EXPECT_GE(static_cast<std::size_t>(accepted) * line.size(), SendQueue::kQueueLimit);
  EXPECT_LT(accepted, most);
  EXPECT_TRUE(connection.events.waitFor("closed"));
  EXPECT_FALSE(connection.isConnected());
}

TEST_F(NetConnection, DisconnectClosesOnTheWorkerAndTheConnectionOpensAgain) {
  TestConnection connection;
  connect(connection);
  EXPECT_FALSE(connection.open("127.0.0.1", port_));  // the worker still runs

  connection.disconnect();
  ASSERT_TRUE(connection.events.waitFor("closed"));
  char line[ConnectionSlot::kLineBufferBytes];
  EXPECT_EQ(server_.readLine(line, ConnectionSlot::kLineLimit), StreamSocket::kNoLine);
  const auto threads = connection.callbackThreads();
  ASSERT_EQ(threads.size(), 2u);
  EXPECT_EQ(threads[0], threads[1]);
  EXPECT_NE(threads[1], std::this_thread::get_id());

  connection.waitUntilEnded();
  server_.close();
  ASSERT_TRUE(connection.open("localhost", port_));
  ASSERT_TRUE(connection.events.waitFor("connected", 2));
  ASSERT_TRUE(listener_.acceptInto(server_));
  ASSERT_TRUE(server_.writeLine("ID\t0"));
  EXPECT_TRUE(connection.events.waitFor("line ID\t0"));
}

TEST_F(NetConnection, DestroyingWhileConnectedReturns) {
  EXPECT_TRUE(finishesInTime([&] {
    TestConnection connection;
    connect(connection);
  }));
  char line[ConnectionSlot::kLineBufferBytes];
  EXPECT_EQ(server_.readLine(line, ConnectionSlot::kLineLimit), StreamSocket::kNoLine);
}

TEST(NetConnectionFailure, RefusedConnectSaysSoOnceAndAFreshOpenWorks) {
  const int port = freePort();
  TestConnection connection;
  for (const char* host : {"127.0.0.1", "no such host", ""}) {
    ASSERT_TRUE(connection.open(host, port)) << host;  // replaces the failed descriptor
    EXPECT_TRUE(finishesInTime([&] { connection.waitUntilEnded(); })) << host;
  }
  connection.disconnect();
  EXPECT_EQ(connection.events.all(),
            (std::vector<std::string>{"connect failed", "connect failed", "connect failed"}));
  EXPECT_FALSE(connection.isConnected());

  StreamSocket listener;
  ASSERT_TRUE(listener.makeSocket());
  ASSERT_EQ(listener.bindAndListen(port, 1), 0);
  ASSERT_TRUE(connection.open("127.0.0.1", port));
  EXPECT_TRUE(connection.events.waitFor("connected"));
}

TEST(NetConnectionFailure, DisconnectEndsAPendingConnectWithoutCallback) {
  // A listener that never accepts, with its backlog full: further connects stay pending.
  const int blocker = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopbackAddress(0);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(blocker, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(blocker, 0), 0);
  ASSERT_EQ(::getsockname(blocker, reinterpret_cast<sockaddr*>(&address), &length), 0);
  std::vector<int> fillers;
  bool pending = false;
  while (!pending && fillers.size() < 8) {
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    fillers.push_back(filler);
    ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    pollfd entry{filler, POLLOUT, 0};
    pending = ::poll(&entry, 1, 200) == 0;
  }
  if (pending) {
    const int port = ntohs(address.sin_port);
    TestConnection connection;
    ASSERT_TRUE(connection.open("127.0.0.1", port));
    // Nothing happens for a while: the connect pends.
    EXPECT_FALSE(connection.events.waitUntil([](const auto& events) { return !events.empty(); },
                                             std::chrono::milliseconds(300)));
    EXPECT_TRUE(connection.running());
    EXPECT_TRUE(finishesInTime([&] {
      connection.disconnect();
      connection.waitUntilEnded();
    }));
    EXPECT_TRUE(connection.events.all().empty());
    EXPECT_FALSE(connection.isConnected());

    // Destroying a connection whose connect pends returns as well.
    EXPECT_TRUE(finishesInTime([&] {
      TestConnection doomed;
      ASSERT_TRUE(doomed.open("127.0.0.1", port));
    }));
  }
  for (const int filler : fillers) ::close(filler);
  ::close(blocker);
  if (!pending) GTEST_SKIP() << "no connect stayed pending against a full backlog";
}

TEST(NetResolveHost, NamesThenDottedAddresses) {
  const std::uint32_t loopback = htonl(INADDR_LOOPBACK);
  EXPECT_EQ(resolveHost("127.0.0.1"), loopback);
  EXPECT_EQ(resolveHost("localhost"), loopback);
  EXPECT_EQ(resolveHost("no such host"), StreamSocket::kNoAddress);
  EXPECT_EQ(resolveHost(""), StreamSocket::kNoAddress);
}

}  // namespace
}  // namespace pentaro
