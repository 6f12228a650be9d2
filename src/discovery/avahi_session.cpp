// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "discovery/avahi_session.h"

#include <avahi-client/client.h>
#include <avahi-common/error.h>
#include <avahi-common/simple-watch.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace pentaro {
namespace {

constexpr int kDrainBytes = 64;
constexpr int kPollForever = -1;

}  // namespace

struct AvahiSessionCallbacks {
  static void clientState(AvahiClient* client, AvahiClientState state, void* session) {
    static_cast<AvahiSession*>(session)->clientStateChanged(client, state);
  }
  static void wakePipe(AvahiWatch*, int fd, AvahiWatchEvent, void*) {
    char bytes[kDrainBytes];
    while (::read(fd, bytes, sizeof bytes) > 0) {
    }
  }
};

AvahiSession::AvahiSession(Handler& handler) : handler_(handler) {
  // Made once, before any other thread can call wake(): the ends are never written again.
  int ends[2];
  if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
    wakeRead_ = ends[0];
    wakeWrite_ = ends[1];
  }
}

AvahiSession::~AvahiSession() {
  stop();
  if (wakeRead_ >= 0) ::close(wakeRead_);
  if (wakeWrite_ >= 0) ::close(wakeWrite_);
}

bool AvahiSession::start() {
  if (wakeRead_ < 0) return false;
  stopping_ = false;
  return worker_.start([this] { run(); });
}

void AvahiSession::wake() {
  if (wakeWrite_ < 0) return;
  const char byte = 'w';
  // A full pipe already holds a wake-up; nothing else can go wrong that waiting would mend.
  [[maybe_unused]] const ssize_t written = ::write(wakeWrite_, &byte, 1);
}

void AvahiSession::stop() {
  stopping_ = true;
  wake();
  worker_.join();
}

void AvahiSession::run() {
  poll_ = avahi_simple_poll_new();
  const AvahiPoll* api = poll_ != nullptr ? avahi_simple_poll_get(poll_) : nullptr;
  AvahiWatch* watch = api != nullptr ? api->watch_new(api, wakeRead_, AVAHI_WATCH_IN,
                                                      &AvahiSessionCallbacks::wakePipe, this)
                                     : nullptr;
  // Without its loop, or without a wake-up stop() could not end it: no discovery, said so.
  if (watch == nullptr) {
    if (poll_ != nullptr) avahi_simple_poll_free(poll_);
    poll_ = nullptr;
    handler_.onLost();
    return;
  }
  retryAt_ = std::chrono::steady_clock::now();
  while (!stopping_) {
    if (clientFailed_) dropClient();
    const auto now = std::chrono::steady_clock::now();
    if (client_ == nullptr && now >= retryAt_) connect();
    handler_.onWake(running_ ? client_ : nullptr);
    int timeoutMs = kPollForever;
    if (client_ == nullptr || clientFailed_) {
      const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
          retryAt_ - std::chrono::steady_clock::now());
      timeoutMs = clientFailed_ ? 0 : static_cast<int>(std::max<long long>(0, wait.count()));
    }
    if (avahi_simple_poll_iterate(poll_, timeoutMs) != 0) break;
  }
  dropClient();
  api->watch_free(watch);
  avahi_simple_poll_free(poll_);
  poll_ = nullptr;
}

void AvahiSession::connect() {
  int error = 0;
  running_ = false;
  clientRan_ = false;
  // NO_FAIL: with D-Bus there but no daemon, the client waits for the daemon to appear.
  AvahiClient* client = avahi_client_new(avahi_simple_poll_get(poll_), AVAHI_CLIENT_NO_FAIL,
                                         &AvahiSessionCallbacks::clientState, this, &error);
  if (client == nullptr) {
    // No system bus: try again later.
    retryAt_ = std::chrono::steady_clock::now() + kRetryInterval;
    handler_.onLost();
    return;
  }
  client_ = client;
  // The state callback may have run inside avahi_client_new, before client_ was set.
  if (avahi_client_get_state(client) == AVAHI_CLIENT_FAILURE) clientFailed_ = true;
}

void AvahiSession::dropClient() {
  if (client_ == nullptr) {
    clientFailed_ = false;
    return;
  }
  // After a failure the handler has heard of the loss already.
  running_ = false;
  if (!clientFailed_) handler_.onLost();
  avahi_client_free(client_);
  client_ = nullptr;
  clientFailed_ = false;
  retryAt_ =
      std::chrono::steady_clock::now();  // with D-Bus up, the new client waits for the daemon
}

void AvahiSession::clientStateChanged(AvahiClient* client, int state) {
  switch (static_cast<AvahiClientState>(state)) {
    case AVAHI_CLIENT_S_RUNNING:
      running_ = true;
      clientRan_ = true;
      handler_.onRunning(client);
      break;
    case AVAHI_CLIENT_S_REGISTERING:
    case AVAHI_CLIENT_S_COLLISION:
      // Nothing is published until it runs again.
      if (running_) handler_.onRegistering(client);
      running_ = false;
      break;
    case AVAHI_CLIENT_CONNECTING:
      // Only a new client waits like this; one that ran is made anew.
      if (clientRan_) clientFailed_ = true;
      running_ = false;
      handler_.onLost();
      break;
    case AVAHI_CLIENT_FAILURE:
      // The daemon or D-Bus went away. The client is freed on the way round the loop, not
      // inside its own callback.
      running_ = false;
      clientFailed_ = true;
      handler_.onLost();
      break;
  }
}

}  // namespace pentaro
