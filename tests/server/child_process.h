// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A program started as a child process with its standard output and error on pipes, for tests
// that run a built executable. Every wait is bounded by kWait; a child still running when the
// object goes away is killed.
#ifndef PENTARO_TESTS_SERVER_CHILD_PROCESS_H_
#define PENTARO_TESTS_SERVER_CHILD_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace pentaro::testing {

class ChildProcess {
 public:
  // argv[0] is the program's path.
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }

  // The next line of standard output without its LF; nothing at its end or after kWait.
  std::optional<std::string> readOutputLine();
  bool signal(int number);
  // Shrinks the standard output pipe to `bytes` (a reader that stops reading is then felt soon).
  bool setOutputPipeSize(int bytes);
  // Waits until both pipes end and reaps the child: its exit status, 128 + the signal that
  // killed it, or nothing when it is still running after kWait.
  std::optional<int> waitForExit();
  // What is left of standard output, and all of standard error; complete after waitForExit.
  const std::string& output() const { return out_.text; }
  const std::string& errors() const { return err_.text; }

 private:
  struct Pipe {
    int fd = -1;
    std::string text;  // received and not yet read as a line
  };
  // Reads whatever either pipe has, waiting at most until `deadline`; false on timeout.
  bool pump(std::chrono::steady_clock::time_point deadline);

  pid_t pid_ = -1;
  Pipe out_;
  Pipe err_;
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_SERVER_CHILD_PROCESS_H_
