// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The lobbies found on the local network, live: each with its instance name, host, address, port
// and player count, and whether lobbies can be found at all (the Avahi daemon is there). The
// browser's worker changes it; any thread reads a copy. The listener is called after every
// change, on the thread that made it and without the lock held; a window posts itself a refresh
// from there. Thread-safe: every operation takes mutex_.
#ifndef PENTARO_DISCOVERY_FOUND_LOBBIES_H_
#define PENTARO_DISCOVERY_FOUND_LOBBIES_H_

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/mutex.h"
#include "base/thread_annotations.h"

namespace pentaro {

struct FoundLobby {
  std::string name;      // the instance name, UTF-8 (the host's player or machine name)
  std::string hostName;  // "machine.local"
  std::string address;   // dotted IPv4, what the address field takes
  int port = 0;
  int players = -1;  // -1: the lobby does not say
  std::string version;

  bool operator==(const FoundLobby&) const = default;
};

class FoundLobbies {
 public:
  enum class State {
    kSearching,    // not known yet whether the daemon answers
    kAvailable,    // the daemon answers: the list is what it has found
    kUnavailable,  // no daemon (or no D-Bus): nothing can be found until it comes back
  };

  // Set before the browser starts.
  void setListener(std::function<void()> listener);

  // A lobby found or changed; `key` tells apart the same name seen on two interfaces.
  void put(const std::string& key, FoundLobby lobby);
  void remove(const std::string& key);
  // Sets the state; any other state than kAvailable empties the list.
  void setState(State state);

  State state() const;
  // By name, then address and port.
  std::vector<FoundLobby> lobbies() const;

 private:
  void changed();

  mutable Mutex mutex_;
  State state_ PENTARO_GUARDED_BY(mutex_) = State::kSearching;
  std::map<std::string, FoundLobby> byKey_ PENTARO_GUARDED_BY(mutex_);
  std::function<void()> listener_;  // set before the browser starts
};

}  // namespace pentaro

#endif  // PENTARO_DISCOVERY_FOUND_LOBBIES_H_
