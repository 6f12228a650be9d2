// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "discovery/found_lobbies.h"

#include <algorithm>
#include <tuple>

namespace pentaro {

void FoundLobbies::setListener(std::function<void()> listener) { listener_ = std::move(listener); }

void FoundLobbies::put(const std::string& key, FoundLobby lobby) {
  {
    MutexLock lock(mutex_);
    auto [it, added] = byKey_.try_emplace(key, lobby);
    if (!added) {
      if (it->second == lobby) return;
      it->second = std::move(lobby);
    }
  }
  changed();
}

void FoundLobbies::remove(const std::string& key) {
  {
    MutexLock lock(mutex_);
    if (byKey_.erase(key) == 0) return;
  }
  changed();
}

void FoundLobbies::setState(State state) {
  {
    MutexLock lock(mutex_);
    if (state_ == state && (state == State::kAvailable || byKey_.empty())) return;
    state_ = state;
    if (state != State::kAvailable) byKey_.clear();
  }
  changed();
}

FoundLobbies::State FoundLobbies::state() const {
  MutexLock lock(mutex_);
  return state_;
}

std::vector<FoundLobby> FoundLobbies::lobbies() const {
  std::vector<FoundLobby> list;
  {
    MutexLock lock(mutex_);
    for (const auto& [key, lobby] : byKey_) list.push_back(lobby);
  }
  std::sort(list.begin(), list.end(), [](const FoundLobby& a, const FoundLobby& b) {
    return std::tie(a.name, a.address, a.port) < std::tie(b.name, b.address, b.port);
  });
  return list;
}

void FoundLobbies::changed() {
  if (listener_) listener_();
}

}  // namespace pentaro
