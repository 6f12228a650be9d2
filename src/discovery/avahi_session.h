// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One connection to the Avahi daemon over D-Bus, kept on a worker thread of its own that runs
// avahi's simple poll: the client, its browsers and entry groups are used on that thread only.
// When D-Bus or the daemon is missing or goes away, the session says so to its handler and keeps
// trying, so a daemon that comes back (or restarts) is picked up. Other threads only wake() it;
// they never wait for the daemon. Owned by an announcer or a browser, declared as its last member.
#ifndef PENTARO_DISCOVERY_AVAHI_SESSION_H_
#define PENTARO_DISCOVERY_AVAHI_SESSION_H_

#include <atomic>
#include <chrono>

#include "net/worker_thread.h"

struct AvahiClient;
struct AvahiSimplePoll;

namespace pentaro {

class AvahiSession {
 public:
  // Called on the session's thread only.
  class Handler {
   public:
    virtual ~Handler() = default;
    // The daemon answers and has its host name: browse or publish with `client`.
    virtual void onRunning(AvahiClient* client) = 0;
    // The daemon is (re)registering its host name: published entries must be reset and wait for
    // onRunning; browsers go on.
    virtual void onRegistering(AvahiClient* client) = 0;
    // No daemon (or no D-Bus): whatever was made with the client is gone; forget it, do not free
    // it.
    virtual void onLost() = 0;
    // On every turn of the worker's loop, so after every wake(): apply what other threads asked
    // for. `client` is null unless running.
    virtual void onWake(AvahiClient* client) = 0;
  };

  // While D-Bus itself is missing, connecting is tried again this often. A missing daemon needs
  // no polling: the client hears over D-Bus when it appears.
  static constexpr std::chrono::seconds kRetryInterval{3};

  explicit AvahiSession(Handler& handler);
  // Stops the thread; the handler is told onLost before the client goes.
  ~AvahiSession();
  AvahiSession(const AvahiSession&) = delete;
  AvahiSession& operator=(const AvahiSession&) = delete;

  // Starts the worker; false when the wake-up pipe could not be made.
  bool start();
  // Has the worker call onWake soon. Any thread; never blocks.
  void wake();
  // Ends the worker and joins it (the client is freed on it first). Not from the handler.
  void stop();

 private:
  friend struct AvahiSessionCallbacks;  // avahi's C callbacks, typed as avahi declares them
  void run();
  void connect();
  void dropClient();
  void clientStateChanged(AvahiClient* client, int state);

  Handler& handler_;
  int wakeRead_ = -1;  // the pipe's ends, made by the constructor, live as long as the session
  int wakeWrite_ = -1;
  std::atomic<bool> stopping_{false};
  // The worker's own; nobody else touches them.
  AvahiSimplePoll* poll_ = nullptr;
  AvahiClient* client_ = nullptr;
  bool running_ = false;       // client_ is in the running state
  bool clientRan_ = false;     // client_ has been in it
  bool clientFailed_ = false;  // client_ is to be freed and made anew
  std::chrono::steady_clock::time_point retryAt_;
  WorkerThread worker_;  // last: joined before the members it uses go away
};

}  // namespace pentaro

#endif  // PENTARO_DISCOVERY_AVAHI_SESSION_H_
