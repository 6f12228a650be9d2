// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/worker_thread.h"

#include <system_error>
#include <utility>

namespace pentaro {

WorkerThread::WorkerThread() : state_(std::make_shared<State>()) {}

WorkerThread::~WorkerThread() {
  std::thread thread;
  {
    MutexLock lock(state_->mutex);
    thread = std::move(state_->thread);
  }
  if (!thread.joinable()) return;
  // A worker that destroys its own object cannot join itself; its thread keeps the shared state
  // alive until it has marked its end.
  if (thread.get_id() == std::this_thread::get_id()) {
    thread.detach();
  } else {
    thread.join();
  }
}

bool WorkerThread::start(std::function<void()> body) {
  State& s = *state_;
  MutexLock lock(s.mutex);
  if (s.running) return false;
  // The previous body has returned; its thread has nothing left to do but exit.
  if (s.thread.joinable()) s.thread.join();
  s.running = true;
  try {
    s.thread =
        std::thread([state = state_, body = std::move(body)] { runAndMarkEnded(state, body); });
  } catch (const std::system_error&) {
    s.running = false;
    s.id = {};
    return false;
  }
  s.id = s.thread.get_id();
  return true;
}

bool WorkerThread::running() const {
  MutexLock lock(state_->mutex);
  return state_->running;
}

void WorkerThread::waitUntilEnded() {
  State& s = *state_;
  MutexLock lock(s.mutex);
  if (s.id == std::this_thread::get_id()) return;
  while (s.running) s.ended.wait(s.mutex);
}

void WorkerThread::join() {
  State& s = *state_;
  MutexLock lock(s.mutex);
  if (s.id == std::this_thread::get_id()) return;
  while (s.running) s.ended.wait(s.mutex);
  // The body has returned and the thread touches nothing but the state's end mark, which it
  // has set, so joining under the lock cannot deadlock.
  if (s.thread.joinable()) s.thread.join();
  s.id = {};
}

bool WorkerThread::isWorkerThread() const {
  MutexLock lock(state_->mutex);
  return state_->id == std::this_thread::get_id();
}

void WorkerThread::runAndMarkEnded(const std::shared_ptr<State>& state,
                                   const std::function<void()>& body) {
  body();
  MutexLock lock(state->mutex);
  state->running = false;
  state->ended.notifyAll();
}

}  // namespace pentaro
