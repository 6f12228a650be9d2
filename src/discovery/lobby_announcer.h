// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Announces one lobby over DNS-SD while its host accepts players: service _pentaro._tcp on the
// listening port, IPv4, the instance name asked for (Avahi's alternative, "NAME #2", when another
// service has it) and the TXT strings txtvers, version and players. start, setPlayers and stop
// may be called from any thread, the server's slot workers under their lock included: they only
// note what is wanted and wake the session's worker, which talks to the daemon. The listener is
// called on that worker.
#ifndef PENTARO_DISCOVERY_LOBBY_ANNOUNCER_H_
#define PENTARO_DISCOVERY_LOBBY_ANNOUNCER_H_

#include <functional>
#include <optional>
#include <string>

#include "base/mutex.h"
#include "base/thread_annotations.h"
#include "discovery/avahi_session.h"

struct AvahiEntryGroup;

namespace pentaro {

class LobbyAnnouncer final : private AvahiSession::Handler {
 public:
  enum class Event {
    kEstablished,  // announced under the name given with it
    kNoDaemon,     // nothing can be announced until the Avahi daemon is there (said once a loss)
    kFailed,       // the daemon refused the announcement
  };
  using Listener = std::function<void(Event event, const std::string& name)>;

  LobbyAnnouncer();
  // Withdraws the announcement and ends the worker.
  ~LobbyAnnouncer() override;
  LobbyAnnouncer(const LobbyAnnouncer&) = delete;
  LobbyAnnouncer& operator=(const LobbyAnnouncer&) = delete;

  // Set before the first start.
  void setListener(Listener listener);

  // Announces `name` (UTF-8; cut to a DNS label) on `port` with no players, or changes what is
  // announced to that.
  void start(const std::string& name, int port);
  void setPlayers(int players);
  // Withdraws the announcement at once; a later start announces again.
  void stop();

  // The name the lobby is announced under now; empty while it is not (yet) established.
  std::string establishedName() const;

 private:
  struct Wanted {
    bool active = false;
    std::string name;
    int port = 0;
    int players = 0;

    bool sameService(const Wanted& other) const {
      return name == other.name && port == other.port;
    }
  };
  friend struct LobbyAnnouncerCallbacks;

  void onRunning(AvahiClient* client) override;
  void onRegistering(AvahiClient* client) override;
  void onLost() override;
  void onWake(AvahiClient* client) override;

  Wanted wanted() const;
  void apply(AvahiClient* client);
  void publish(AvahiClient* client, const Wanted& wanted);
  bool addAndCommit();
  void withdraw();
  void groupStateChanged(AvahiEntryGroup* group, int state);
  void setEstablished(const std::string& name);
  void report(Event event, const std::string& name);

  mutable Mutex mutex_;
  Wanted wanted_ PENTARO_GUARDED_BY(mutex_);
  std::string established_ PENTARO_GUARDED_BY(mutex_);
  bool sessionStarted_ PENTARO_GUARDED_BY(mutex_) = false;
  Listener listener_;  // set before the first start
  // The worker's own.
  AvahiEntryGroup* group_ = nullptr;
  std::string name_;  // what the group announces: the wanted name or an alternative of it
  Wanted published_;  // what the group was made for
  bool noDaemonReported_ = false;
  // The daemon refused to announce this; not tried again until something else is wanted, the
  // host stops, or the daemon starts anew (the worker's loop would otherwise try on every turn).
  std::optional<Wanted> refused_;
  AvahiSession session_{*this};  // last: its worker ends before the members it uses go away
};

}  // namespace pentaro

#endif  // PENTARO_DISCOVERY_LOBBY_ANNOUNCER_H_
