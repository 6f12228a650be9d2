// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "discovery/lobby_browser.h"

#include <avahi-client/lookup.h>
#include <avahi-common/address.h>
#include <avahi-common/strlst.h>

#include <vector>

#include "discovery/lobby_txt.h"

namespace pentaro {
namespace {

// One found service: the same name on another interface is another entry.
std::string serviceKey(AvahiIfIndex interface, const char* name, const char* domain) {
  return std::to_string(interface) + '\t' + name + '\t' + domain;
}

std::vector<std::string> txtStrings(AvahiStringList* txt) {
  std::vector<std::string> strings;
  for (AvahiStringList* entry = txt; entry != nullptr; entry = avahi_string_list_get_next(entry)) {
    strings.emplace_back(reinterpret_cast<const char*>(avahi_string_list_get_text(entry)),
                         avahi_string_list_get_size(entry));
  }
  return strings;
}

}  // namespace

struct LobbyBrowserCallbacks {
  static void browsed(AvahiServiceBrowser* browser, AvahiIfIndex interface, AvahiProtocol protocol,
                      AvahiBrowserEvent event, const char* name, const char* type,
                      const char* domain, AvahiLookupResultFlags, void* self) {
    auto* lobbyBrowser = static_cast<LobbyBrowser*>(self);
    switch (event) {
      case AVAHI_BROWSER_NEW:
        lobbyBrowser->serviceFound(avahi_service_browser_get_client(browser), interface, protocol,
                                   name, type, domain);
        break;
      case AVAHI_BROWSER_REMOVE:
        lobbyBrowser->serviceRemoved(serviceKey(interface, name, domain));
        break;
      case AVAHI_BROWSER_FAILURE:
        // The daemon stopped browsing for us; what follows is the client's failure, and a new
        // client browses anew.
        lobbyBrowser->lobbies_.setState(FoundLobbies::State::kUnavailable);
        break;
      case AVAHI_BROWSER_ALL_FOR_NOW:
      case AVAHI_BROWSER_CACHE_EXHAUSTED:
        break;
    }
  }

  static void resolved(AvahiServiceResolver* resolver, AvahiIfIndex interface, AvahiProtocol,
                       AvahiResolverEvent event, const char* name, const char*, const char* domain,
                       const char* hostName, const AvahiAddress* address, std::uint16_t port,
                       AvahiStringList* txt, AvahiLookupResultFlags, void* self) {
    auto* lobbyBrowser = static_cast<LobbyBrowser*>(self);
    const std::string key = serviceKey(interface, name, domain);
    auto it = lobbyBrowser->services_.find(key);
    if (it == lobbyBrowser->services_.end() || it->second.resolver != resolver) return;
    if (event != AVAHI_RESOLVER_FOUND || address == nullptr) {
      // Not resolvable now (it timed out): not listed until it is announced again.
      avahi_service_resolver_free(resolver);
      it->second.resolver = nullptr;
      lobbyBrowser->lobbies_.remove(key);
      return;
    }
    char dotted[AVAHI_ADDRESS_STR_MAX] = {};
    avahi_address_snprint(dotted, sizeof dotted, address);
    const std::vector<std::string> strings = txtStrings(txt);
    FoundLobby lobby;
    lobby.name = name;
    lobby.hostName = hostName != nullptr ? hostName : "";
    lobby.address = dotted;
    lobby.port = port;
    lobby.players = lobby_txt::players(strings).value_or(-1);
    lobby.version = lobby_txt::value(strings, "version").value_or("");
    lobbyBrowser->lobbies_.put(key, std::move(lobby));
  }
};

LobbyBrowser::LobbyBrowser(FoundLobbies& lobbies) : lobbies_(lobbies) {}

LobbyBrowser::~LobbyBrowser() { session_.stop(); }

bool LobbyBrowser::start() { return session_.start(); }

void LobbyBrowser::onRunning(AvahiClient* client) {
  lobbies_.setState(FoundLobbies::State::kAvailable);
  if (browser_ != nullptr) return;
  browser_ = avahi_service_browser_new(client, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET,
                                       lobby_txt::kServiceType, nullptr, AvahiLookupFlags(0),
                                       &LobbyBrowserCallbacks::browsed, this);
  if (browser_ == nullptr) lobbies_.setState(FoundLobbies::State::kUnavailable);
}

void LobbyBrowser::onRegistering(AvahiClient*) {
  // Browsing goes on while the daemon renames its host.
}

void LobbyBrowser::onLost() {
  // The browser and the resolvers went with the client.
  browser_ = nullptr;
  services_.clear();
  lobbies_.setState(FoundLobbies::State::kUnavailable);
}

void LobbyBrowser::onWake(AvahiClient*) {}

void LobbyBrowser::serviceFound(AvahiClient* client, int interface, int protocol, const char* name,
                                const char* type, const char* domain) {
  const std::string key = serviceKey(interface, name, domain);
  Service& service = services_[key];
  if (service.resolver != nullptr) return;
  service.resolver = avahi_service_resolver_new(
      client, interface, protocol, name, type, domain, AVAHI_PROTO_INET, AvahiLookupFlags(0),
      &LobbyBrowserCallbacks::resolved, this);
}

void LobbyBrowser::serviceRemoved(const std::string& key) {
  auto it = services_.find(key);
  if (it == services_.end()) return;
  if (it->second.resolver != nullptr) avahi_service_resolver_free(it->second.resolver);
  services_.erase(it);
  lobbies_.remove(key);
}

}  // namespace pentaro
