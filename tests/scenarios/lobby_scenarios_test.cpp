// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Several complete players in one process, over loopback: joining, chat, leaving, the eleventh
// player, and the server's end.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/host_addresses.h"
#include "scenarios/scenario.h"
#include "support/port_holder.h"

namespace pentaro::testing {
namespace {

using ::testing::ElementsAre;

class LobbyScenario : public Scenario {};

TEST_F(LobbyScenario, HostAndPlayersAreWelcomedInListOrder) {
  TestPlayer& aki = join("あき");
  EXPECT_EQ(aki.id(), 0);
  EXPECT_EQ(aki.status(), "接続しました");
  EXPECT_EQ(aki.address(), "");  // the host's own connection leaves the typed address alone
  EXPECT_TRUE(aki.chatHas("サーバのバージョンは 1.01 です。"));
  // Before the welcome, the host is told where players on other machines connect.
  const std::optional<std::vector<HostAddress>> addresses = hostAddresses();
  ASSERT_TRUE(addresses.has_value());
  const std::string firstLine =
      addresses->empty() ? "ネットワークのアドレスがないので、このパソコンからしか接続できません"
                         : "ほかのパソコンからの接続先：" + addresses->front().address + " (" +
                               addresses->front().interfaceName + ")";
  EXPECT_EQ(aki.chatLog().rfind(firstLine + "\r\n", 0), 0u) << aki.chatLog();
  EXPECT_FALSE(aki.controls().connectEnabled);
  EXPECT_TRUE(aki.controls().hostPressed);

  TestPlayer& bob = join("ぼぶ");
  EXPECT_EQ(bob.id(), 1);
  EXPECT_THAT(bob.participants(), ElementsAre("あき", "ぼぶ"));
  EXPECT_THAT(aki.participants(), ElementsAre("あき", "ぼぶ"));
  EXPECT_TRUE(aki.chatHas("ぼぶさんの登場です"));

  // A newcomer while a match runs learns who plays whom.
  startMatch(bob, aki);
  TestPlayer& chika = join("ちか");
  EXPECT_TRUE(waitUntil([&] { return chika.participants().size() == 3; }));
  EXPECT_THAT(chika.participants(), ElementsAre("あき ★ ぼぶ", "ちか", "ぼぶ ★ あき"));
}

TEST_F(LobbyScenario, ChatReachesEveryoneAndTheOwnLineShowsOnce) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  aki.say("こんにちは");
  ASSERT_TRUE(bob.waitForChat("あき : こんにちは"));
  // The server echoes the line to its sender too; once that echo is in, a line from Bob follows.
  bob.say("やあ");
  ASSERT_TRUE(aki.waitForChat("ぼぶ : やあ"));
  const std::string log = aki.chatLog();
  EXPECT_EQ(log.find("あき : こんにちは"), log.rfind("あき : こんにちは"));

  // An empty input sends nothing.
  const std::string before = bob.chatLog();
  aki.say("");
  aki.say("おわり");
  ASSERT_TRUE(bob.waitForChat("あき : おわり"));
  EXPECT_EQ(bob.chatLog(), before + "あき : おわり\r\n");
}

TEST_F(LobbyScenario, APlayerWhoLeavesMidMatchEndsTheMatchForTheOtherAtOnce) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& cai = join("かい");
  startMatch(aki, bob);
  bob.disconnect();
  ASSERT_TRUE(aki.waitForChat("ぼぶさんが、いなくなりました"));
  EXPECT_TRUE(bob.waitForChat("接続を閉じました"));
  EXPECT_EQ(bob.status(), "未接続です");
  EXPECT_TRUE(bob.participants().empty());
  EXPECT_TRUE(aki.chatHas("ぼぶさんがいなくなったので、対戦を終わりました"));
  EXPECT_TRUE(aki.chatHas("ゲームが終わりました"));
  EXPECT_FALSE(aki.fields().playing());
  EXPECT_EQ(aki.status(), "対戦待ち・・・");
  // Nobody's list keeps a match with the departed.
  ASSERT_TRUE(cai.waitForChat("ぼぶさんが、いなくなりました"));
  EXPECT_THAT(aki.participants(), ElementsAre("あき", "かい"));
  EXPECT_THAT(cai.participants(), ElementsAre("あき", "かい"));

  // The freed identity goes to the next newcomer, who is welcomed with no stale match and whose
  // board nobody's old match can touch.
  TestPlayer& chika = join("ちか");
  EXPECT_EQ(chika.id(), 1);
  EXPECT_THAT(chika.participants(), ElementsAre("あき", "かい", "ちか"));
  EXPECT_FALSE(aki.inMatchControls());
}

TEST_F(LobbyScenario, TheEleventhPlayerIsTurnedAwayAndTheTenStay) {
  for (int i = 0; i < 10; ++i) join("p" + std::to_string(i));
  players_.push_back(std::make_unique<TestPlayer>(port_, "eleven", 7));
  TestPlayer& eleventh = *players_.back();
  eleventh.connect();
  ASSERT_TRUE(eleventh.waitForChat("接続を閉じました"));
  EXPECT_EQ(eleventh.status(), "未接続です");
  EXPECT_FALSE(eleventh.controls().connectPressed);
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(players_[i]->connected());
    EXPECT_EQ(players_[i]->participants().size(), 10u);
  }
  players_[3]->say("まだいるよ");
  EXPECT_TRUE(players_[9]->waitForChat("p3 : まだいるよ"));
}

TEST_F(LobbyScenario, AHostThatStopsAndComesBackTakesItsPlayersBack) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");
  aki.stopHosting();
  ASSERT_TRUE(aki.waitForChat("サーバーを閉じました"));
  // The guests did not ask to leave: they say so and try again, "接続" still down.
  for (TestPlayer* p : {&bob, &chika}) {
    ASSERT_TRUE(p->waitForChat("接続を閉じました"));
    ASSERT_TRUE(p->waitForChat("サーバーとの接続が切れました。自動で接続し直します"));
    EXPECT_TRUE(p->controls().connectPressed);
    EXPECT_FALSE(p->controls().fieldsEnabled);
  }
  ASSERT_TRUE(waitUntil([&] { return aki.status() == "未接続です"; }));
  EXPECT_TRUE(aki.controls().connectEnabled && aki.controls().hostEnabled);
  EXPECT_TRUE(aki.controls().fieldsEnabled);
  EXPECT_FALSE(aki.controls().hostPressed);
  EXPECT_FALSE(aki.controls().connectPressed);

  // The same program hosts again at once, and the guests are back under their names within the
  // first pauses (1 s, 2 s, ...).
  aki.hostLobby();
  EXPECT_TRUE(waitUntil([&] { return aki.participants().size() == 3; }));
  EXPECT_THAT(aki.participants(), ElementsAre("あき", "ちか", "ぼぶ"));
  EXPECT_EQ(bob.view.connection(), ConnectionState::kConnected);

  // "接続" released while waiting to try again stops the trying.
  aki.stopHosting();
  ASSERT_TRUE(bob.waitForStatus("1 秒後に接続し直します"));
  bob.disconnect();
  EXPECT_EQ(bob.status(), "未接続です");
  EXPECT_EQ(bob.view.connection(), ConnectionState::kIdle);
  // The host's own client has heard of its close before the host starts again.
  auto closes = [](const std::string& log) {
    int n = 0;
    for (auto at = log.find("接続を閉じました"); at != std::string::npos;
         at = log.find("接続を閉じました", at + 1)) {
      ++n;
    }
    return n;
  };
  ASSERT_TRUE(waitUntil([&] { return closes(aki.chatLog()) == 2; }));
  aki.ui.drain();
  aki.hostLobby();
  EXPECT_TRUE(waitUntil([&] { return aki.participants().size() == 2; }))  // Chika
      << "host:\n"
      << aki.chatLog() << "guest:\n"
      << chika.chatLog();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_FALSE(bob.connected());
}

// On the way back in, a connection the host closes before it takes the player (a host still
// starting, a full lobby, a bad link) is one more failed attempt: the player goes on trying.
TEST_F(LobbyScenario, AnAttemptClosedBeforeTheHostTookThePlayerIsNotTheLast) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  aki.stopHosting();
  ASSERT_TRUE(bob.waitForStatus("1 秒後に接続し直します"));
  {
    // Something listens on the port but never answers; closing it resets bob's connection.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in address = loopbackAddress(port_);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    const bool reached = bob.waitForStatus("接続しました");
    ::close(listener);
    ASSERT_TRUE(reached);
  }
  ASSERT_TRUE(bob.waitForStatus("2 秒後に接続し直します"));
  aki.hostLobby();
  EXPECT_TRUE(waitUntil([&] { return aki.participants().size() == 2; }));
  EXPECT_EQ(bob.view.connection(), ConnectionState::kConnected);
}

// The end of a listening reaches the window later, posted; by then the host may be hosting again,
// and that new lobby must stay.
TEST_F(LobbyScenario, ALateEndOfTheLastListeningLeavesTheNewLobbyRunning) {
  TestPlayer& aki = join("あき");
  aki.run([&] {
    aki.program->stopHosting();
    // The accept worker ends and posts its end meanwhile; this thread handles it only later.
    // (The own client, waiting for this thread to hear of its close, cannot connect again yet.)
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    aki.program->host();
  });
  TestPlayer& bob = join("ぼぶ");
  EXPECT_TRUE(bob.connected());
}

TEST_F(LobbyScenario, AServerWhosePortIsTakenEndsAtOnce) {
  PortHolder blocker(port_);
  ASSERT_TRUE(blocker.holding());

  players_.push_back(std::make_unique<TestPlayer>(port_, "あき", 1));
  TestPlayer& aki = *players_.back();
  aki.run([&] { aki.program->setServerAddress("192.0.2.5"); });
  aki.hostLobby();
  // It says why, keeps the saved address and does not join whoever holds the port.
  ASSERT_TRUE(aki.waitForChat("ポート " + std::to_string(port_) +
                              " はほかのプログラムが使っているので、サーバーになれませんでした"));
  EXPECT_TRUE(waitUntil([&] { return !aki.controls().hostPressed; }));
  aki.ui.drain();
  EXPECT_EQ(aki.address(), "192.0.2.5");
  EXPECT_FALSE(aki.connected());
  EXPECT_FALSE(aki.chatHas("サーバーを閉じました"));
  // It never listened, so it names no address to connect to.
  const std::string log = aki.chatLog();
  EXPECT_EQ(log.find("接続先"), std::string::npos) << log;
  EXPECT_EQ(log.find("このパソコンからしか"), std::string::npos) << log;
  EXPECT_TRUE(
      waitUntil([&] { return !aki.controls().hostPressed && aki.controls().connectEnabled; }));
  EXPECT_EQ(utf8(aki.name()), "あき");
}

// A connection that reads the server's lines as they come, without any program behind it.
class RawPlayer {
 public:
  explicit RawPlayer(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    timeval timeout{5, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawPlayer() { ::close(fd_); }
  bool connected() const { return connected_; }
  void send(const std::string& line) {
    const std::string bytes = line + "\r\n";
    ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  }
  // The lines up to and including the first one that starts with `last`; stops early on a
  // timeout or the end of the connection.
  std::vector<std::string> linesThrough(const std::string& last) {
    std::vector<std::string> lines;
    for (;;) {
      const auto end = buffer_.find("\r\n");
      if (end != std::string::npos) {
        lines.push_back(buffer_.substr(0, end));
        buffer_.erase(0, end + 2);
        if (lines.back().rfind(last, 0) == 0) return lines;
        continue;
      }
      char chunk[1024];
      const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
      if (n <= 0) return lines;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

 private:
  int fd_;
  bool connected_ = false;
  std::string buffer_;
};

TEST_F(LobbyScenario, ANewcomerHearsOfEveryoneAlreadyAnnouncedWhateverTheHostsWindowShows) {
  TestPlayer& aki = join("あき");
  // The host's own window takes in nothing while its UI thread is held.
  std::promise<void> release;
  struct Release {
    std::promise<void>& promise;
    ~Release() { promise.set_value(); }
  } releaseAtEnd{release};
  aki.ui.post([held = release.get_future().share()] { held.wait(); });

  players_.push_back(std::make_unique<TestPlayer>(port_, "ぼぶ", 5));
  TestPlayer& bob = *players_.back();
  bob.connect();
  ASSERT_TRUE(waitUntil([&] { return bob.participants().size() == 2; }));

  RawPlayer newcomer(port_);
  ASSERT_TRUE(newcomer.connected());
  newcomer.send("NEW_C\tchika");
  const std::vector<std::string> lines = newcomer.linesThrough("ADD\t2\t");
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "ID\t2");
  EXPECT_EQ(lines[2], "ADD\t0\t" + sjis("あき"));
  EXPECT_EQ(lines[3], "ADD\t1\t" + sjis("ぼぶ"));
}

TEST_F(LobbyScenario, AnEmptyNameBecomesTheDefaultName) {
  players_.push_back(std::make_unique<TestPlayer>(port_, "", 1));
  TestPlayer& nameless = *players_.back();
  nameless.hostLobby();
  EXPECT_EQ(utf8(nameless.view.name()), "名無し");
  EXPECT_TRUE(nameless.waitForChat("名無しさんの登場です"));
}

TEST_F(LobbyScenario, AConnectWhereNobodyListensSaysSoAndLeavesTheControlsIdle) {
  players_.push_back(std::make_unique<TestPlayer>(port_, "あき", 1));
  TestPlayer& aki = *players_.back();
  aki.connect();  // nobody hosts on port_
  ASSERT_TRUE(aki.waitForChat("接続できませんでした（相手: 127.0.0.1）"));
  EXPECT_TRUE(waitUntil([&] { return !aki.controls().connectPressed; }));
  EXPECT_EQ(aki.status(), "未接続です");
  EXPECT_TRUE(aki.controls().hostEnabled);
  EXPECT_TRUE(aki.controls().fieldsEnabled);
}

// A host that sends an id outside its ten slots is no lobby of this game: the player says so and
// closes the connection.
TEST_F(LobbyScenario, AnIdOutsideTheTenSlotsIsRefusedAndTheConnectionClosed) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = loopbackAddress(port_);
  ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  players_.push_back(std::make_unique<TestPlayer>(port_, "あき", 1));
  TestPlayer& aki = *players_.back();
  aki.connect();
  const int host = ::accept(listener, nullptr, nullptr);
  ::close(listener);
  ASSERT_GE(host, 0);
  const timeval wait{static_cast<time_t>(kWait.count()), 0};
  ::setsockopt(host, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  const std::string id = "ID\t70000\r\n";
  ASSERT_EQ(::send(host, id.data(), id.size(), MSG_NOSIGNAL), static_cast<ssize_t>(id.size()));
  // The player's NEW_C, then the end of its connection.
  char bytes[256];
  ssize_t n;
  while ((n = ::recv(host, bytes, sizeof bytes, 0)) > 0) {
  }
  EXPECT_EQ(n, 0) << "the player did not close the connection";
  ::close(host);
  EXPECT_TRUE(aki.waitForChat("サーバーから届いた番号 70000 は 0～9 ではないので、接続を閉じます"));
  EXPECT_TRUE(aki.waitForChat("接続を閉じました"));
  EXPECT_NE(aki.id(), 70000 - 65536);  // what a 16-bit id made of it
}

}  // namespace
}  // namespace pentaro::testing
