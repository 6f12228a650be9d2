// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the command-line programs (the lobby host, the computer players) share: their exit
// statuses, the reading of a whole number argument, and the blocking of the stop signals that
// their main thread then takes with sigwait. Plain functions; the signal mask is per thread.
#ifndef PENTARO_BASE_COMMAND_LINE_H_
#define PENTARO_BASE_COMMAND_LINE_H_

#include <pthread.h>
#include <signal.h>

#include <cstdlib>
#include <initializer_list>
#include <optional>

namespace pentaro::command_line {

// Exit statuses: done (also after --help and --version), a failure while running, a wrong
// command line.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A whole decimal number within [low, high], or nothing (empty text, trailing characters, out
// of range).
inline std::optional<long> wholeNumber(const char* text, long low, long high) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < low || value > high) return std::nullopt;
  return value;
}

// Blocks SIGINT, SIGTERM and `more` in the calling thread, and so in every thread it starts from
// now on, and returns the set for sigwait or sigtimedwait: the stop request reaches the main
// thread's wait and never interrupts a worker.
inline sigset_t blockStopSignals(std::initializer_list<int> more = {}) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  for (int number : more) sigaddset(&signals, number);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

}  // namespace pentaro::command_line

#endif  // PENTARO_BASE_COMMAND_LINE_H_
