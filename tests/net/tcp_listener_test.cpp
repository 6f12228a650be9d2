// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/tcp_listener.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <future>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/events.h"

namespace pentaro {
namespace {

using testing::Events;
using testing::finishesInTime;
using testing::freePort;
using testing::RawClient;

// A listener's owner that records every callback; the listener is its last member.
class TestListener final : private TcpListener::Handler {
 public:
  explicit TestListener(int slots = 10) { listener_.createSlots(slots); }

  bool createSlots(int count) { return listener_.createSlots(count); }
  int slotCount() const { return listener_.slotCount(); }
  bool startListening(int port, int backlog = TcpListener::kBacklog) {
    return listener_.startListening(port, backlog);
  }
  int listenError() const { return listener_.listenError(); }
  // Queues the line for the slot and flushes, as a server's handler and its worker do.
  void sendTo(int index, std::string_view text) {
    listener_.queueTo(index, text);
    listener_.flushQueued();
  }
  void sendToAll(std::string_view text) {
    for (int index = 0; index < listener_.slotCount(); ++index) listener_.queueTo(index, text);
    listener_.flushQueued();
  }
  void closeAll() { listener_.closeAll(); }
  void waitUntilEnded() { listener_.waitUntilEnded(); }

  Events events;
  std::function<void()> whenStarted;  // set before listening

 private:
  void onConnected(int index) override { events.add("connected " + std::to_string(index)); }
  void onClosed(int index) override { events.add("closed " + std::to_string(index)); }
  void onLineReceived(int index, std::string_view line) override {
    events.add("line " + std::to_string(index) + " " + std::string(line));
  }
  void onRefused(StreamSocket& socket) override {
    events.add(socket.isConnected() ? "refused" : "refused unconnected");
  }
  void onListenStarted() override {
    if (whenStarted) whenStarted();
    events.add("started");
  }
  void onListenEnded() override { events.add("ended"); }

  TcpListener listener_{*this};
};

// Connects `client` and waits until the listener has put it into slot `index`.
void connectInto(TestListener& listener, RawClient& client, int port, int index) {
  ASSERT_TRUE(client.connect(port));
  ASSERT_TRUE(listener.events.waitFor("connected " + std::to_string(index)));
}

// IPv4 sockets of this process that are in the LISTEN state.
int listeningSocketsOfThisProcess() {
  std::set<std::string> inodes;
  if (DIR* fds = ::opendir("/proc/self/fd")) {
    while (const dirent* entry = ::readdir(fds)) {
      char target[64] = {};
      const std::string path = std::string("/proc/self/fd/") + entry->d_name;
      if (::readlink(path.c_str(), target, sizeof target - 1) > 0) {
        const std::string link(target);
        if (link.rfind("socket:[", 0) == 0) inodes.insert(link.substr(8, link.size() - 9));
      }
    }
    ::closedir(fds);
  }
  std::ifstream table("/proc/net/tcp");
  std::string row;
  std::getline(table, row);  // header
  int count = 0;
  while (std::getline(table, row)) {
    std::istringstream fields(row);
    std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
    fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >>
        timeout >> inode;
    if (state == "0A" && inodes.count(inode) > 0) ++count;
  }
  return count;
}

TEST(NetListener, EleventhClientIsClosedAtOnceAndTheTenStayServed) {
  TestListener listener;
  const int port = freePort();
  ASSERT_TRUE(listener.startListening(port));
  RawClient clients[10];
  for (int i = 0; i < 10; ++i) connectInto(listener, clients[i], port, i);

  RawClient eleventh;
  ASSERT_TRUE(eleventh.connect(port));
  EXPECT_TRUE(eleventh.seesEndOfStream());
  EXPECT_TRUE(listener.events.waitFor("refused"));

  listener.sendTo(-1, "WRONG");
  listener.sendTo(10, "WRONG");
  listener.sendTo(3, "THREE");
  listener.sendToAll("ALL");
  for (int i = 0; i < 10; ++i) {
    if (i == 3) {
      EXPECT_EQ(clients[i].readLine(), "THREE");
    }
    EXPECT_EQ(clients[i].readLine(), "ALL") << "client " << i;
    ASSERT_TRUE(clients[i].send("FROM\t" + std::to_string(i) + "\r\n"));
  }
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(
        listener.events.waitFor("line " + std::to_string(i) + " FROM\t" + std::to_string(i)));
  }
  for (const auto& event : listener.events.all())
    EXPECT_EQ(event.rfind("closed", 0), std::string::npos);
}

TEST(NetListener, SlotDeliversPiecesOfALongLineAndReusesTheLowestFreeSlot) {
  TestListener listener;
  const int port = freePort();
  ASSERT_TRUE(listener.startListening(port));
  RawClient first, second;
  connectInto(listener, first, port, 0);
  connectInto(listener, second, port, 1);

  // The slot reads at most 125 bytes per line; the rest of a longer one follows as a line.
  ASSERT_TRUE(first.send(std::string(125, 'x') + "yyyyy\r\n\r\n"));
  EXPECT_TRUE(listener.events.waitFor("line 0 " + std::string(125, 'x')));
  EXPECT_TRUE(listener.events.waitFor("line 0 yyyyy"));
  EXPECT_TRUE(listener.events.waitFor("line 0 "));

  first.close();
  ASSERT_TRUE(listener.events.waitFor("closed 0"));
  // Slot 0 is free once its worker has returned from onClosed. A newcomer that comes before
  // that gets a higher slot, leaves, and tries again.
  RawClient newcomer;
  auto firstAfter = [&](size_t from, const std::string& prefix) -> std::string {
    std::string found;
    listener.events.waitUntil([&](const std::vector<std::string>& events) {
      for (size_t i = from; i < events.size() && found.empty(); ++i) {
        if (events[i].rfind(prefix, 0) == 0) found = events[i];
      }
      return !found.empty();
    });
    return found;
  };
  std::string slot;
  for (int attempt = 0; attempt < 20 && slot != "connected 0"; ++attempt) {
    const size_t before = listener.events.all().size();
    ASSERT_TRUE(newcomer.connect(port));
    slot = firstAfter(before, "connected ");
    ASSERT_FALSE(slot.empty());
    if (slot != "connected 0") {
      ASSERT_NE(slot, "connected 1");  // still served
      newcomer.close();
      ASSERT_EQ(firstAfter(before, "closed "), "closed " + slot.substr(10));
    }
  }
  ASSERT_EQ(slot, "connected 0");
  listener.sendTo(0, "YOU");
  EXPECT_EQ(newcomer.readLine(), "YOU");
  ASSERT_TRUE(newcomer.send("ME\r\n"));
  EXPECT_TRUE(listener.events.waitFor("line 0 ME"));
}

TEST(NetListener, CloseAllEndsEverySlotBeforeListeningEndsAndListeningStartsAgain) {
  TestListener listener;
  const int port = freePort();
  ASSERT_TRUE(listener.startListening(port));
  RawClient clients[3];
  for (int i = 0; i < 3; ++i) connectInto(listener, clients[i], port, i);

  listener.closeAll();
  ASSERT_TRUE(listener.events.waitFor("ended"));
  const auto events = listener.events.all();
  EXPECT_EQ(events.back(), "ended");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(std::count(events.begin(), events.end(), "closed " + std::to_string(i)), 1);
    EXPECT_TRUE(clients[i].seesEndOfStream());
  }

  // Without waiting for the port to age: the listener sets SO_REUSEADDR.
  listener.waitUntilEnded();
  ASSERT_TRUE(listener.startListening(port));
  RawClient again;
  connectInto(listener, again, port, 0);
  EXPECT_EQ(listener.listenError(), 0);
}

TEST(NetListener, TakenPortEndsListeningAtOnceWithoutARandomPort) {
  StreamSocket holder;
  ASSERT_TRUE(holder.makeSocket());
  ASSERT_EQ(holder.bindAndListen(0, 1), 0);
  const int before = listeningSocketsOfThisProcess();
  ASSERT_GE(before, 1);

  TestListener listener;
  std::atomic<int> duringListening{-1};
  listener.whenStarted = [&] { duringListening = listeningSocketsOfThisProcess(); };
  ASSERT_TRUE(listener.startListening(holder.localPort()));
  ASSERT_TRUE(listener.events.waitFor("ended"));
  EXPECT_EQ(listener.listenError(), EADDRINUSE);
  EXPECT_EQ(listener.events.all(), (std::vector<std::string>{"started", "ended"}));
  EXPECT_EQ(duringListening, before);

  // The same listener listens once the port is free.
  listener.whenStarted = nullptr;
  holder.close();
  const int port = freePort();
  listener.waitUntilEnded();
  ASSERT_TRUE(listener.startListening(port));
  EXPECT_EQ(listener.listenError(), 0);
  RawClient client;
  connectInto(listener, client, port, 0);
}

TEST(NetListener, StartingTwiceOrWithoutSlotsFails) {
  TestListener empty(0);
  EXPECT_FALSE(empty.startListening(freePort()));

  TestListener listener(2);
  const int port = freePort();
  ASSERT_TRUE(listener.startListening(port));
  EXPECT_FALSE(listener.startListening(port));
  EXPECT_FALSE(listener.startListening(freePort()));
  EXPECT_FALSE(listener.createSlots(3));
  EXPECT_EQ(listener.slotCount(), 2);
  RawClient client;
  connectInto(listener, client, port, 0);
  const auto events = listener.events.all();
  EXPECT_EQ(events.front(), "started");
  EXPECT_EQ(std::count(events.begin(), events.end(), "started"), 1);
}

TEST(NetListener, DestroyingWhileServingReturns) {
  const int port = freePort();
  RawClient clients[3];
  EXPECT_TRUE(finishesInTime([&] {
    TestListener listener;
    ASSERT_TRUE(listener.startListening(port));
    for (int i = 0; i < 3; ++i) connectInto(listener, clients[i], port, i);
  }));
  for (auto& client : clients) EXPECT_TRUE(client.seesEndOfStream());
}

TEST(NetListener, StalledReaderLosesItsConnectionAtItsQueueLimitAndOthersAreNotHeldUp) {
  TestListener listener(2);
  const int port = freePort();
  ASSERT_TRUE(listener.startListening(port));
  RawClient stalled, reader;
  ASSERT_TRUE(stalled.connect(port, /*receiveBuffer=*/4096));  // and never reads
  ASSERT_TRUE(listener.events.waitFor("connected 0"));
  connectInto(listener, reader, port, 1);

  auto slot0Closed = [&] {
    const auto events = listener.events.all();
    return std::find(events.begin(), events.end(), "closed 0") != events.end();
  };
  // Each send returns at once; the stalled peer's queue grows until its limit ends it, and every
  // line to the other slot arrives meanwhile.
  const std::string big(64 * 1024, 'z');
  constexpr int kMostSends = 4 * SendQueue::kQueueLimit / (64 * 1024);
  int sends = 0;
  EXPECT_TRUE(finishesInTime([&] {
    for (; sends < kMostSends && !slot0Closed(); ++sends) {
      listener.sendTo(0, big);
      listener.sendTo(1, "PING " + std::to_string(sends));
      ASSERT_EQ(reader.readLine(), "PING " + std::to_string(sends));
    }
  }));
  EXPECT_GE(sends * big.size(), SendQueue::kQueueLimit);
  EXPECT_TRUE(listener.events.waitFor("closed 0"));

  listener.sendTo(1, "STILL");
  EXPECT_EQ(reader.readLine(), "STILL");
  for (const auto& event : listener.events.all()) EXPECT_NE(event, "closed 1");
}

}  // namespace
}  // namespace pentaro
