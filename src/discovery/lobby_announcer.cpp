// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "discovery/lobby_announcer.h"

#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/strlst.h>

#include <cstdio>

#include "discovery/lobby_txt.h"

namespace pentaro {
namespace {

// A name clash is met by trying Avahi's next alternative; past this many the daemon has refused.
constexpr int kMaxAlternatives = 32;

// The TXT strings in their order, txtvers first as DNS-SD asks (avahi adds at the front).
AvahiStringList* txtList(int players) {
  AvahiStringList* list = nullptr;
  for (const std::string& entry : lobby_txt::entries(PENTARO_VERSION, players)) {
    list = avahi_string_list_add(list, entry.c_str());
  }
  return avahi_string_list_reverse(list);
}

std::string alternativeName(const std::string& name) {
  char* next = avahi_alternative_service_name(name.c_str());
  std::string result = next != nullptr ? next : name + " #2";
  avahi_free(next);
  return result;
}

}  // namespace

struct LobbyAnnouncerCallbacks {
  static void groupState(AvahiEntryGroup* group, AvahiEntryGroupState state, void* announcer) {
    static_cast<LobbyAnnouncer*>(announcer)->groupStateChanged(group, state);
  }
};

LobbyAnnouncer::LobbyAnnouncer() = default;

LobbyAnnouncer::~LobbyAnnouncer() {
  stop();
  session_.stop();
}

void LobbyAnnouncer::setListener(Listener listener) { listener_ = std::move(listener); }

void LobbyAnnouncer::start(const std::string& name, int port) {
  {
    MutexLock lock(mutex_);
    wanted_ = Wanted{true, lobby_txt::instanceName(name, lobby_txt::machineName()), port, 0};
    if (!sessionStarted_) sessionStarted_ = session_.start();
  }
  session_.wake();
}

void LobbyAnnouncer::setPlayers(int players) {
  {
    MutexLock lock(mutex_);
    if (wanted_.players == players) return;
    wanted_.players = players;
  }
  session_.wake();
}

void LobbyAnnouncer::stop() {
  {
    MutexLock lock(mutex_);
    if (!wanted_.active) return;
    wanted_.active = false;
  }
  session_.wake();
}

std::string LobbyAnnouncer::establishedName() const {
  MutexLock lock(mutex_);
  return established_;
}

LobbyAnnouncer::Wanted LobbyAnnouncer::wanted() const {
  MutexLock lock(mutex_);
  return wanted_;
}

void LobbyAnnouncer::onRunning(AvahiClient* client) {
  noDaemonReported_ = false;
  refused_.reset();
  apply(client);
}

void LobbyAnnouncer::onRegistering(AvahiClient*) {
  // The daemon's host name is changing: announce again once it runs.
  withdraw();
}

void LobbyAnnouncer::onLost() {
  group_ = nullptr;  // gone with the client
  setEstablished("");
  if (!noDaemonReported_ && wanted().active) {
    noDaemonReported_ = true;
    report(Event::kNoDaemon, "");
  }
}

void LobbyAnnouncer::onWake(AvahiClient* client) {
  if (client != nullptr || !wanted().active) apply(client);
}

void LobbyAnnouncer::apply(AvahiClient* client) {
  const Wanted want = wanted();
  if (!want.active) {
    withdraw();
    refused_.reset();
    return;
  }
  if (client == nullptr) return;
  if (group_ != nullptr && !want.sameService(published_)) withdraw();
  if (group_ == nullptr) {
    if (!refused_ || !want.sameService(*refused_)) publish(client, want);
    return;
  }
  if (want.players != published_.players) {
    AvahiStringList* txt = txtList(want.players);
    const int error = avahi_entry_group_update_service_txt_strlst(
        group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, AvahiPublishFlags(0), name_.c_str(),
        lobby_txt::kServiceType, nullptr, txt);
    avahi_string_list_free(txt);
    published_.players = want.players;
    if (error < 0) {
      // The group is not in a state to take it; announce anew with the count.
      withdraw();
      publish(client, want);
    }
  }
}

void LobbyAnnouncer::publish(AvahiClient* client, const Wanted& want) {
  group_ = avahi_entry_group_new(client, &LobbyAnnouncerCallbacks::groupState, this);
  if (group_ == nullptr) {
    refused_ = want;
    report(Event::kFailed, want.name);
    return;
  }
  published_ = want;
  name_ = want.name;
  if (!addAndCommit()) {
    refused_ = want;
    report(Event::kFailed, name_);
    withdraw();
  }
}

bool LobbyAnnouncer::addAndCommit() {
  AvahiStringList* txt = txtList(published_.players);
  int error = AVAHI_ERR_COLLISION;
  for (int tries = 0; tries < kMaxAlternatives && error == AVAHI_ERR_COLLISION; ++tries) {
    error = avahi_entry_group_add_service_strlst(
        group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, AvahiPublishFlags(0), name_.c_str(),
        lobby_txt::kServiceType, nullptr, nullptr, static_cast<std::uint16_t>(published_.port),
        txt);
    // Another service on this machine has the name already.
    if (error == AVAHI_ERR_COLLISION) name_ = alternativeName(name_);
  }
  avahi_string_list_free(txt);
  return error >= 0 && avahi_entry_group_commit(group_) >= 0;
}

void LobbyAnnouncer::withdraw() {
  if (group_ != nullptr) {
    // Freeing the group has the daemon send its goodbye at once.
    avahi_entry_group_free(group_);
    group_ = nullptr;
  }
  setEstablished("");
}

void LobbyAnnouncer::groupStateChanged(AvahiEntryGroup* group, int state) {
  // The callback may run inside avahi_entry_group_new, before group_ is set.
  group_ = group;
  switch (static_cast<AvahiEntryGroupState>(state)) {
    case AVAHI_ENTRY_GROUP_ESTABLISHED:
      setEstablished(name_);
      report(Event::kEstablished, name_);
      break;
    case AVAHI_ENTRY_GROUP_COLLISION:
      // Another machine has the name: the DNS-SD way is the next alternative.
      name_ = alternativeName(name_);
      avahi_entry_group_reset(group);
      if (!addAndCommit()) report(Event::kFailed, name_);
      break;
    case AVAHI_ENTRY_GROUP_FAILURE:
      refused_ = published_;
      report(Event::kFailed, name_);
      break;
    case AVAHI_ENTRY_GROUP_UNCOMMITED:
    case AVAHI_ENTRY_GROUP_REGISTERING:
      break;
  }
}

void LobbyAnnouncer::setEstablished(const std::string& name) {
  MutexLock lock(mutex_);
  established_ = name;
}

void LobbyAnnouncer::report(Event event, const std::string& name) {
  if (listener_) listener_(event, name);
}

}  // namespace pentaro
