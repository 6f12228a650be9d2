// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The lobby server: ten player slots on one TCP port. It welcomes each newcomer with its PlayerId
// (the slot index) and who is there, registers names, relays every other line to the player named
// in field 1 (with the sender in its place), copies calls to watchers, and announces matches.
//
// Threads: the welcome, the registration, the relay and the departure run on the slot workers and
// are serialised by mutex_, taken for one line at a time in arrival order. Under it lines are only
// queued; the slot worker sends them after, so nobody waits on a socket under the lock. The server
// never waits for the UI thread. The roster for a welcome is read from a RosterView, which must
// be safe to read from any thread.
//
// The server keeps who plays whom itself and announces (STLIST) only what its own table allows:
// a start between two free registered players, an end of the very pair that plays. The lines
// that cause them are relayed as they are, whatever the table says.
#ifndef PENTARO_SERVER_LOBBY_SERVER_H_
#define PENTARO_SERVER_LOBBY_SERVER_H_

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/thread_annotations.h"
#include "discovery/lobby_announcer.h"
#include "net/fair_mutex.h"
#include "net/message_fields.h"
#include "net/protocol.h"
#include "net/tcp_listener.h"
#include "server/roster_view.h"

namespace pentaro {

class LobbyServer final : private TcpListener::Handler {
 public:
  static constexpr int kSlots = protocol::kPlayerSlots;
  static constexpr std::uint8_t kNoWatch = 255;
  // Flood control: lines handled per second and connection. A match sends a board and a few
  // calls a second and people type chat, so only a flooder ever waits; it slows only itself.
  static constexpr int kFloodLinesPerSecond = 100;
  // The burst a connection may send at once, in seconds of its rate.
  static constexpr int kFloodBurstSeconds = 5;
  // A connection whose waiting lines would take longer than this to hand on at the flood rate
  // is ended ("excess flood"): nobody types that far ahead, and a computer player waits for
  // its opponent's every call.
  static constexpr int kFloodBacklogSeconds = 30;

  LobbyServer();
  // Ends every connection and waits for every worker (the listener is the last member).
  ~LobbyServer();

  // Where a newcomer's welcome learns who is there and who plays whom; may be null (no roster).
  void setRoster(const RosterView* roster);
  // Called on the accept worker when listening has ended (never waits for anything), with the
  // generation of the listening that ended: a handler that acts later (posted to another
  // thread) compares it with listenGeneration(), so that a late end of an earlier listening
  // cannot stop the next one.
  void setEndedHandler(std::function<void(std::uint64_t generation)> handler);
  // Told, under the server's lock (so it must not wait), of a connection ended for its flood
  // backlog, before its departure runs; for the host's log.
  void setFloodedHandler(std::function<void(int slot)> handler);
  // Receives, under the server's lock, every line the server sends to all slots. Lets a host
  // without a client of its own keep its roster from the announcements every client receives.
  void setAnnouncementSink(std::function<void(std::string_view line)> sink);

  // At most `linesPerSecond` lines of each connection are handled a second (after a burst of
  // kFloodBurstSeconds of them); more wait, none is dropped. 0 turns flood control off.
  void setFloodLimit(int linesPerSecond);

  // While listening, the lobby is announced over DNS-SD under `name` (UTF-8; empty: the
  // machine's name) with its player count; `listener` hears how that goes, on the announcer's
  // worker (the first call's listener stays). Call before startServer, again before another
  // start to change the name; without it nothing is announced.
  void setAnnouncement(std::string name, LobbyAnnouncer::Listener listener = nullptr);

  // Starts listening on `port`; false when listening cannot begin (see TcpListener).
  bool startServer(int port);
  // Ends every connection and listening; the departures and the end follow on the workers. The
  // announcement is withdrawn at once.
  void stopServer();
  // Counts the startServer calls that began listening.
  std::uint64_t listenGeneration() const { return listenGeneration_.load(); }
  // 0, or the errno with which the last bind or listen failed.
  int listenError() const { return listener_.listenError(); }

  // For tests and the host's log: a slot's registered name and its watch entries.
  std::string nameOf(int slot) const;
  std::pair<int, int> watchEntries(int slot) const;
  // The slot's opponent as the server's own match table has it, or -1.
  int opponentOf(int slot) const;
  // How many lines the players have sent since the server was made (each one is relayed,
  // broadcast or taken as a registration); for the host's log and soak runs.
  std::uint64_t linesReceived() const;

 private:
  void onConnected(int index) override;
  void onClosed(int index) override;
  void onLineReceived(int index, std::string_view line) override;
  void onFlooded(int index) override;
  void onListenEnded() override;

  // Sends only to welcomed slots, so that "ID" is always a player's first line.
  void sendToPlayer(int slot, std::string_view line) PENTARO_REQUIRES(mutex_);
  bool isRegistered(int slot) const PENTARO_REQUIRES(mutex_);
  void broadcast(std::string_view line) PENTARO_REQUIRES(mutex_);
  void forgetWatchersOf(int player) PENTARO_REQUIRES(mutex_);
  void clearWatchEntries(int slot) PENTARO_REQUIRES(mutex_);
  void announceMatch(char kind, int first, int second) PENTARO_REQUIRES(mutex_);
  // In no match in the server's table, and announced by ADD.
  bool isFree(int slot) const PENTARO_REQUIRES(mutex_);
  // Ends the slot's match in the server's table without an announcement (its DEL says it).
  void forgetMatchOf(int slot) PENTARO_REQUIRES(mutex_);
  // A new watcher of `first` and `second` gets the later of their last calls.
  void replayLastCall(int watcher, int first, int second) PENTARO_REQUIRES(mutex_);
  // Tells the announcer how many players are registered now.
  void announcePlayerCount() PENTARO_REQUIRES(mutex_);

  // One handler per received command; each requires mutex_, which onLineReceived holds when it
  // calls one through the table (the analysis does not check a call through a member pointer).
  using Handler = void (LobbyServer::*)(int sender, const MessageFields& fields);
  static Handler handlerFor(const MessageFields& fields);
  void registerName(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);
  void chat(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);
  void relayMessage(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);
  void relayCall(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);
  void relayMap(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);
  void relayChallengeAnswer(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);
  void relayMatchEnd(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);
  void relayOpponentAnswer(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);
  void relayWatchRequest(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);
  void relayOther(int sender, const MessageFields& fields) PENTARO_REQUIRES(mutex_);

  // Fair, so that a player who sends without pause cannot keep the others' lines out.
  mutable FairMutex mutex_;
  std::array<std::string, kSlots> names_ PENTARO_GUARDED_BY(mutex_);
  std::array<bool, kSlots> welcomed_ PENTARO_GUARDED_BY(mutex_) = {};
  // Announced by ADD since welcomed.
  std::array<bool, kSlots> registered_ PENTARO_GUARDED_BY(mutex_) = {};
  std::array<std::uint8_t, kSlots> watchFirst_ PENTARO_GUARDED_BY(mutex_) = {};
  std::array<std::uint8_t, kSlots> watchSecond_ PENTARO_GUARDED_BY(mutex_) = {};
  // Who plays whom, from the announcements this server made; -1: no match.
  std::array<int, kSlots> opponent_ PENTARO_GUARDED_BY(mutex_) = {};
  // Each player's last call in its running match, as forwarded, and when it came (a count of all
  // calls): a watcher who starts mid-match gets the latest of the pair, so it knows at once who
  // calls next and which number was called last. Empty: none in this match.
  std::array<std::string, kSlots> lastCall_ PENTARO_GUARDED_BY(mutex_);
  std::array<std::uint64_t, kSlots> lastCallOrder_ PENTARO_GUARDED_BY(mutex_) = {};
  std::uint64_t calls_ PENTARO_GUARDED_BY(mutex_) = 0;
  std::uint64_t linesReceived_ PENTARO_GUARDED_BY(mutex_) = 0;
  const RosterView* roster_ = nullptr;                      // set before listening
  std::function<void(std::uint64_t)> endedHandler_;         // set before listening
  std::function<void(std::string_view)> announcementSink_;  // set before listening
  std::function<void(int)> floodedHandler_;                 // set before listening
  std::atomic<std::uint64_t> listenGeneration_{0};
  // stopServer or the end of the accept worker has come since the last start: the next start
  // first waits for that worker, which may still be joining its slots.
  std::atomic<bool> listeningStopped_{false};
  // Set before listening; its operations never wait for the daemon, so they run under mutex_.
  std::unique_ptr<LobbyAnnouncer> announcer_;
  std::string announcedName_;    // set before listening
  TcpListener listener_{*this};  // last: its workers end before the members they use
};

}  // namespace pentaro

#endif  // PENTARO_SERVER_LOBBY_SERVER_H_
