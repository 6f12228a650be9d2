// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzz target: the lobby server's handling of a conversation, without sockets. The events drive
// LobbyServer's handlers the way the slot workers do, one at a time; the server's own roster of
// its announcements serves the welcomes, as on a host.
//
// Input: a transcript (see transcript.h), one event per line: "+" (a connection into the lowest
// free slot, as the listener fills them), "-N" (slot N closes), or "N LINE" (connected slot N
// sends LINE). Events for a slot that is not connected are skipped.
//
// Invariants after every event: at most one roster line per slot, only for a connected slot, with
// an opponent that is none or a connected slot; watch entries name a slot 0..9 or none; nothing is
// left of a slot that closed (no name, no watch entries, nobody watching it, no roster line).
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "net/protocol.h"
#include "net/tcp_listener.h"
#include "server/announced_roster.h"
#include "server/lobby_server.h"
#include "transcript.h"

namespace {

using pentaro::LobbyServer;

constexpr int kSlots = LobbyServer::kSlots;

// The slot workers' events, handed to the server through the handler interface they call. The
// server keeps that interface private to keep other callers out; a C-style cast is the one
// conversion that reaches a private base.
pentaro::TcpListener::Handler& slotEvents(LobbyServer& server) {
  return (pentaro::TcpListener::Handler&)server;  // NOLINT(google-readability-casting)
}

bool inSlots(int id) { return id >= 0 && id < kSlots; }
bool isWatchEntry(int entry) { return entry == LobbyServer::kNoWatch || inSlots(entry); }

void checkState(const LobbyServer& server, const pentaro::AnnouncedRoster& roster,
                const std::array<bool, kSlots>& connected) {
  const auto isConnected = [&](int id) {
    return inSlots(id) && connected[static_cast<std::size_t>(id)];
  };
  std::set<int> ids;
  for (const pentaro::RosterLine& line : roster.rosterLines()) {
    FUZZ_CHECK(isConnected(line.id));
    FUZZ_CHECK(ids.insert(line.id).second);  // one line per slot
    FUZZ_CHECK(line.opponent == pentaro::protocol::kNoPlayer || isConnected(line.opponent));
  }
  for (int slot = 0; slot < kSlots; ++slot) {
    const auto [first, second] = server.watchEntries(slot);
    FUZZ_CHECK(isWatchEntry(first) && isWatchEntry(second));
    if (isConnected(slot)) continue;
    FUZZ_CHECK(server.nameOf(slot).empty());
    FUZZ_CHECK(first == LobbyServer::kNoWatch && second == LobbyServer::kNoWatch);
    for (int watcher = 0; watcher < kSlots; ++watcher) {
      const auto [a, b] = server.watchEntries(watcher);
      FUZZ_CHECK(a != slot && b != slot);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pentaro::AnnouncedRoster roster;
  LobbyServer server;
  pentaro::TcpListener::Handler& events = slotEvents(server);
  server.setRoster(&roster);
  server.setAnnouncementSink([&roster](std::string_view line) { roster.apply(line); });
  std::array<bool, kSlots> connected{};

  for (const std::string& event : pentaro::fuzzing::transcriptLines(data, size)) {
    const std::string_view text(event);
    if (text == "+") {
      for (int slot = 0; slot < kSlots; ++slot) {
        if (connected[static_cast<std::size_t>(slot)]) continue;
        connected[static_cast<std::size_t>(slot)] = true;
        events.onConnected(slot);
        break;
      }
    } else if (text.size() == 2 && text[0] == '-' && text[1] >= '0' && text[1] <= '9') {
      const int slot = text[1] - '0';
      if (!connected[static_cast<std::size_t>(slot)]) continue;
      connected[static_cast<std::size_t>(slot)] = false;
      events.onClosed(slot);
    } else if (text.size() >= 2 && text[0] >= '0' && text[0] <= '9' && text[1] == ' ') {
      const int slot = text[0] - '0';
      if (!connected[static_cast<std::size_t>(slot)]) continue;
      events.onLineReceived(slot, text.substr(2));
    } else {
      continue;
    }
    checkState(server, roster, connected);
  }
  for (int slot = 0; slot < kSlots; ++slot) {
    if (connected[static_cast<std::size_t>(slot)]) events.onClosed(slot);
  }
  connected.fill(false);
  checkState(server, roster, connected);
  FUZZ_CHECK(roster.rosterLines().empty());
  return 0;
}
