// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Finds the lobbies announced on the local network (_pentaro._tcp, IPv4) and keeps a FoundLobbies
// model up to date: each found service is resolved and kept resolved, so a changed player count
// or address shows, and a service that goes is removed. Whether the daemon is there is the
// model's state. Everything runs on the session's worker; the owner only starts and destroys it.
#ifndef PENTARO_DISCOVERY_LOBBY_BROWSER_H_
#define PENTARO_DISCOVERY_LOBBY_BROWSER_H_

#include <map>
#include <string>

#include "discovery/avahi_session.h"
#include "discovery/found_lobbies.h"

struct AvahiServiceBrowser;
struct AvahiServiceResolver;

namespace pentaro {

class LobbyBrowser final : private AvahiSession::Handler {
 public:
  // `lobbies` must outlive the browser.
  explicit LobbyBrowser(FoundLobbies& lobbies);
  ~LobbyBrowser() override;
  LobbyBrowser(const LobbyBrowser&) = delete;
  LobbyBrowser& operator=(const LobbyBrowser&) = delete;

  // Starts browsing; false when the worker cannot start.
  bool start();

 private:
  // What is kept of one found service: its resolver, kept so that changes are reported.
  struct Service {
    AvahiServiceResolver* resolver = nullptr;
  };
  friend struct LobbyBrowserCallbacks;

  void onRunning(AvahiClient* client) override;
  void onRegistering(AvahiClient* client) override;
  void onLost() override;
  void onWake(AvahiClient* client) override;

  void serviceFound(AvahiClient* client, int interface, int protocol, const char* name,
                    const char* type, const char* domain);
  void serviceRemoved(const std::string& key);

  FoundLobbies& lobbies_;
  // The worker's own.
  AvahiServiceBrowser* browser_ = nullptr;
  std::map<std::string, Service> services_;
  AvahiSession session_{*this};  // last: its worker ends before the members it uses go away
};

}  // namespace pentaro

#endif  // PENTARO_DISCOVERY_LOBBY_BROWSER_H_
