// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "support/raw_client.h"

extern char** environ;

namespace pentaro::testing {

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  int out[2], err[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return;
  if (::pipe2(err, O_CLOEXEC) != 0) {
    ::close(out[0]);
    ::close(out[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  out_.fd = out[0];
  err_.fd = err[0];
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (out_.fd >= 0) ::close(out_.fd);
  if (err_.fd >= 0) ::close(err_.fd);
}

bool ChildProcess::setOutputPipeSize(int bytes) {
  return out_.fd >= 0 && ::fcntl(out_.fd, F_SETPIPE_SZ, bytes) >= bytes;
}

bool ChildProcess::pump(std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    pollfd fds[2] = {{out_.fd, POLLIN, 0}, {err_.fd, POLLIN, 0}};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    const int ready = ::poll(fds, 2, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    for (int i = 0; i < 2; ++i) {
      Pipe& pipe = i == 0 ? out_ : err_;
      if (pipe.fd < 0 || fds[i].revents == 0) continue;
      char bytes[4096];
      const ssize_t count = ::read(pipe.fd, bytes, sizeof bytes);
      if (count > 0) {
        pipe.text.append(bytes, static_cast<std::size_t>(count));
      } else if (count == 0 || errno != EINTR) {
        ::close(pipe.fd);
        pipe.fd = -1;
      }
    }
    return true;
  }
}

std::optional<std::string> ChildProcess::readOutputLine() {
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  for (;;) {
    const std::size_t end = out_.text.find('\n');
    if (end != std::string::npos) {
      std::string line = out_.text.substr(0, end);
      out_.text.erase(0, end + 1);
      return line;
    }
    if (out_.fd < 0 || !pump(deadline)) return std::nullopt;
  }
}

bool ChildProcess::signal(int number) { return pid_ > 0 && ::kill(pid_, number) == 0; }

std::optional<int> ChildProcess::waitForExit() {
  if (pid_ <= 0) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  // Both pipes end when the child has exited (it starts no processes of its own).
  while (out_.fd >= 0 || err_.fd >= 0) {
    if (!pump(deadline)) return std::nullopt;
  }
  int status = 0;
  if (::waitpid(pid_, &status, 0) != pid_) return std::nullopt;
  pid_ = -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
}

}  // namespace pentaro::testing
