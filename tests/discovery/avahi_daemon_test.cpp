// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The lobby announcer and browser against a real Avahi daemon, which avahi_namespace.sh starts in
// namespaces of its own (these cases skip anywhere else). `avahi-browse -rpt` is the outside
// witness of what is announced, the FoundLobbies model the inside one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "discovery/found_lobbies.h"
#include "discovery/lobby_announcer.h"
#include "discovery/lobby_browser.h"
#include "server/child_process.h"
#include "support/raw_client.h"
#include "support/test_player.h"

namespace pentaro::testing {
namespace {

constexpr auto kAnnounceWait = std::chrono::seconds(15);

// One resolved line of `avahi-browse -rpt`: its fields, escapes undone.
struct Witnessed {
  std::string name;
  std::string hostName;
  std::string address;
  int port = 0;
  std::string txt;
};

// avahi-browse -p writes a byte outside printable ASCII, and '.', ';' and '\', as \ddd.
std::string unescape(const std::string& text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() &&
        std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
      plain += static_cast<char>(std::stoi(text.substr(i + 1, 3)));
      i += 3;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

std::vector<Witnessed> avahiBrowse() {
  std::vector<Witnessed> found;
  FILE* pipe = ::popen("avahi-browse -rpt _pentaro._tcp 2>/dev/null", "r");
  if (pipe == nullptr) return found;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    std::vector<std::string> fields;
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    std::size_t start = 0;
    for (std::size_t end; (end = line.find(';', start)) != std::string::npos; start = end + 1) {
      fields.push_back(line.substr(start, end - start));
    }
    fields.push_back(line.substr(start));
    if (fields.size() < 10 || fields[0] != "=") continue;
    found.push_back(
        {unescape(fields[3]), fields[6], fields[7], std::atoi(fields[8].c_str()), fields[9]});
  }
  ::pclose(pipe);
  return found;
}

std::optional<Witnessed> witnessed(const std::string& name) {
  for (const Witnessed& w : avahiBrowse()) {
    if (w.name == name) return w;
  }
  return std::nullopt;
}

std::optional<FoundLobby> listed(const FoundLobbies& lobbies, const std::string& name) {
  for (const FoundLobby& lobby : lobbies.lobbies()) {
    if (lobby.name == name) return lobby;
  }
  return std::nullopt;
}

class AvahiDaemon : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* control = std::getenv("PENTARO_AVAHI_CONTROL");
    if (control == nullptr) GTEST_SKIP() << "runs inside the namespace avahi_namespace.sh makes";
    control_ = control;
    ASSERT_TRUE(browser_.start());
  }

  bool control(const std::string& what) {
    return std::system((control_ + " --control " + what).c_str()) == 0;
  }
  bool listedWith(const std::string& name, int players) {
    return waitUntil(
        [&] {
          const auto lobby = listed(lobbies_, name);
          return lobby && lobby->players == players;
        },
        kAnnounceWait);
  }
  bool witnessedWith(const std::string& name, int players) {
    return waitUntil(
        [&] {
          const auto w = witnessed(name);
          return w &&
                 w->txt.find("\"players=" + std::to_string(players) + "\"") != std::string::npos;
        },
        kAnnounceWait);
  }
  bool gone(const std::string& name) {
    return waitUntil([&] { return !listed(lobbies_, name) && !witnessed(name); }, kAnnounceWait);
  }

  std::string control_;
  FoundLobbies lobbies_;
  LobbyBrowser browser_{lobbies_};
};

TEST_F(AvahiDaemon, ALobbyHostIsFoundWithItsPlayerCountUntilItStops) {
  const int port = freePort();
  const std::string name = "Pentaro 花子";
  ChildProcess host({PENTARO_LOBBY_PATH, "--port", std::to_string(port), "--name", name});
  ASSERT_TRUE(host.started());
  std::optional<std::string> line;
  while ((line = host.readOutputLine()) && line->rfind("announced as", 0) != 0) {
  }
  ASSERT_EQ(line, "announced as \"" + name + "\" (_pentaro._tcp)") << host.errors();

  ASSERT_TRUE(listedWith(name, 0));
  const FoundLobby lobby = *listed(lobbies_, name);
  EXPECT_EQ(lobby.address, "127.0.0.1");
  EXPECT_EQ(lobby.port, port);
  EXPECT_EQ(lobby.hostName, std::getenv("PENTARO_AVAHI_HOST"));
  EXPECT_EQ(lobby.version, PENTARO_VERSION);
  const std::optional<Witnessed> w = witnessed(name);
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->address, "127.0.0.1");
  EXPECT_EQ(w->port, port);
  // txtvers first, as DNS-SD asks.
  EXPECT_EQ(w->txt, "\"txtvers=1\" \"version=" PENTARO_VERSION "\" \"players=0\"");

  // A connection counts once it has registered a name, and no longer once it has gone.
  RawClient alice(port);
  ASSERT_TRUE(alice.sendLine("NEW_C\talice"));
  EXPECT_TRUE(listedWith(name, 1));
  EXPECT_TRUE(witnessedWith(name, 1));
  RawClient bob(port);
  ASSERT_TRUE(bob.sendLine("NEW_C\tbob"));
  EXPECT_TRUE(listedWith(name, 2));
  alice.close();
  EXPECT_TRUE(listedWith(name, 1));
  EXPECT_TRUE(witnessedWith(name, 1));

  ASSERT_TRUE(host.signal(SIGTERM));
  EXPECT_TRUE(gone(name));
  EXPECT_EQ(host.waitForExit(), 0);
}

TEST_F(AvahiDaemon, AWindowHostIsAnnouncedUnderItsPlayerNameAndAClashGetsTheAlternative) {
  TestPlayer first(freePort(), "同じ名前", 1, "", true);
  TestPlayer second(freePort(), "同じ名前", 2, "", true);
  first.hostLobby();
  ASSERT_TRUE(listedWith("同じ名前", 1)) << "the host's own player counts";
  second.hostLobby();
  ASSERT_TRUE(listedWith("同じ名前 #2", 1));
  EXPECT_TRUE(witnessedWith("同じ名前 #2", 1));

  // A guest found in the list joins by the address and port it was found with.
  const FoundLobby found = *listed(lobbies_, "同じ名前 #2");
  TestPlayer guest(found.port, "客", 3);
  guest.connect(found.address);
  EXPECT_TRUE(guest.waitForStatus("接続しました"));
  EXPECT_TRUE(listedWith("同じ名前 #2", 2));

  second.stopHosting();  // stops hosting: withdrawn at once
  EXPECT_TRUE(gone("同じ名前 #2"));
  EXPECT_TRUE(listed(lobbies_, "同じ名前").has_value());
}

TEST_F(AvahiDaemon, WithoutTheDaemonHostingAndJoiningWorkAndItIsPickedUpWhenItReturns) {
  ASSERT_TRUE(waitUntil([&] { return lobbies_.state() == FoundLobbies::State::kAvailable; }));
  ASSERT_TRUE(control("stop-daemon"));
  EXPECT_TRUE(waitUntil([&] { return lobbies_.state() == FoundLobbies::State::kUnavailable; }));

  const int port = freePort();
  TestPlayer host(port, "留守番", 1, "", true);
  host.hostLobby();
  // The host's own player in the lobby first (its own line in its list), or the guest's arrival
  // would reach it as part of its welcome instead of as a notice.
  ASSERT_TRUE(waitUntil([&] { return host.participants().size() == 1; }));
  TestPlayer guest(port, "客", 2);
  guest.connect("127.0.0.1");
  EXPECT_TRUE(guest.waitForStatus("接続しました"));
  EXPECT_TRUE(host.waitForChat("客さんの登場です"));

  // Without the bus as well, then both back: the browser and the announcer find them again.
  ASSERT_TRUE(control("stop-bus"));
  ASSERT_TRUE(control("start"));
  EXPECT_TRUE(listedWith("留守番", 2));
  EXPECT_TRUE(witnessedWith("留守番", 2));
  EXPECT_EQ(lobbies_.state(), FoundLobbies::State::kAvailable);
}

// Every call to a hung daemon waits for D-Bus's timeout (25 s), longer than any wait below:
// hosting, joining, the relay and the player count must not wait for it.
TEST_F(AvahiDaemon, AHungDaemonHoldsUpNeitherTheWindowNorTheRelay) {
  ASSERT_TRUE(waitUntil([&] { return lobbies_.state() == FoundLobbies::State::kAvailable; }));
  ASSERT_TRUE(control("freeze-daemon"));
  const int port = freePort();
  TestPlayer host(port, "凍結", 1, "", true);
  const auto started = std::chrono::steady_clock::now();
  host.hostLobby();
  ASSERT_TRUE(waitUntil([&] { return host.participants().size() == 1; }));
  TestPlayer guest(port, "客", 2);
  guest.connect("127.0.0.1");
  EXPECT_TRUE(guest.waitForStatus("接続しました"));
  guest.say("こんにちは");
  EXPECT_TRUE(host.waitForChat("客 : こんにちは"));
  guest.disconnect();  // leaves: the count changes again
  EXPECT_TRUE(host.waitForChat("客さんが、いなくなりました"));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  ASSERT_TRUE(control("thaw-daemon"));
  EXPECT_TRUE(listedWith("凍結", 1));
}

}  // namespace
}  // namespace pentaro::testing
