// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// When to try again after a connection to the host dropped without the player asking: pauses
// of 1, 2, 4 ... seconds, at most kLongestPause, for at least kKeepTrying after the drop. Pure:
// the caller passes the time and makes the attempts. Owned by one client; not thread-safe.
#ifndef PENTARO_NET_RECONNECT_BACKOFF_H_
#define PENTARO_NET_RECONNECT_BACKOFF_H_

#include <chrono>
#include <optional>

namespace pentaro {

class ReconnectBackoff {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::seconds kFirstPause{1};
  // A host restarted after an update is back well within this; a long outage is tried no more
  // often than this.
  static constexpr std::chrono::seconds kLongestPause{30};
  // No new attempt starts once the drop is this long ago.
  static constexpr std::chrono::minutes kKeepTrying{5};

  // The connection dropped at `now`: a new series of attempts, starting with kFirstPause.
  void dropped(Clock::time_point now);
  // The pause before the next attempt, each one twice the one before up to kLongestPause; nothing
  // when the series has gone on for kKeepTrying, or none was started (give up).
  std::optional<Clock::duration> nextPause(Clock::time_point now);
  // An attempt got in: the series is over.
  void connected();
  // A series runs: dropped() was called and neither connected() nor the end of trying followed.
  bool trying() const { return trying_; }

 private:
  bool trying_ = false;
  Clock::time_point droppedAt_{};
  Clock::duration pause_{};
};

}  // namespace pentaro

#endif  // PENTARO_NET_RECONNECT_BACKOFF_H_
