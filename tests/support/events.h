// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Test helpers for the socket layer: a thread-safe recorder of callback events with bounded waits,
// and a bound on an action that might hang. The raw peer and the free port are in
// support/raw_client.h.
#ifndef PENTARO_TESTS_SUPPORT_EVENTS_H_
#define PENTARO_TESTS_SUPPORT_EVENTS_H_

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <vector>

#include "support/raw_client.h"

namespace pentaro::testing {

// Callback events as text ("closed 3"), recorded from any thread and awaited with a time limit.
class Events {
 public:
  void add(std::string event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
    changed_.notify_all();
  }

  std::vector<std::string> all() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }

  // Waits until `event` has been recorded `times` times in all.
  bool waitFor(const std::string& event, int times = 1) const {
    return waitUntil([&](const std::vector<std::string>& events) {
      int n = 0;
      for (const auto& e : events) n += e == event ? 1 : 0;
      return n >= times;
    });
  }

  bool waitUntil(const std::function<bool(const std::vector<std::string>&)>& done,
                 std::chrono::milliseconds limit = kWait) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return done(events_); });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> events_;  // guarded by mutex_
};

// Runs `action` on a helper thread and tells whether it finished within kWait. The helper is
// waited for either way, so a hang shows as a failed expectation and then the test's timeout.
inline bool finishesInTime(const std::function<void()>& action) {
  auto done = std::async(std::launch::async, action);
  return done.wait_for(kWait) == std::future_status::ready;
}

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_SUPPORT_EVENTS_H_
