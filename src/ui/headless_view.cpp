// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/headless_view.h"

#include "ui/view_texts.h"

namespace pentaro {

HeadlessView::HeadlessView() {
  MutexLock lock(mutex_);
  status_ = statusText(Status{});  // the dialog opens with "未接続です"
}

void HeadlessView::setAnswerer(Answerer answerer) {
  MutexLock lock(mutex_);
  answerer_ = std::move(answerer);
}

void HeadlessView::connectionChanged(ConnectionState state) {
  MutexLock lock(mutex_);
  connection_ = state;
}

void HeadlessView::statusChanged(const Status& status) {
  std::string text = statusText(status);
  MutexLock lock(mutex_);
  statusHistory_.push_back(text);
  status_ = std::move(text);
}

void HeadlessView::addToLog(std::string_view line) {
  MutexLock lock(mutex_);
  chatLog_.add(line);
  chatHistory_.push_back(std::string(line) + "\r\n");
}

void HeadlessView::noticeAdded(const Notice& notice) { addToLog(noticeText(notice)); }

void HeadlessView::chatAdded(std::string_view name, std::string_view text) {
  addToLog(chatText(name, text));
}

void HeadlessView::hostMessageAdded(std::string_view text) { addToLog(hostMessageText(text)); }

void HeadlessView::settingsChanged(std::string_view name, std::string_view address) {
  MutexLock lock(mutex_);
  name_ = name;
  address_ = address;
}

void HeadlessView::insertLine(int index, std::string_view text, int id) {
  if (index < 0 || index > static_cast<int>(lines_.size())) index = static_cast<int>(lines_.size());
  lines_.insert(lines_.begin() + index, Line{std::string(text), id});
  if (selection_ >= index) ++selection_;
}

void HeadlessView::removeLine(int index) {
  if (index < 0 || index >= static_cast<int>(lines_.size())) return;
  lines_.erase(lines_.begin() + index);
  // A deleted selected line leaves no selection, so that "対戦" never goes to somebody else.
  if (selection_ == index) {
    selection_ = -1;
  } else if (selection_ > index) {
    --selection_;
  }
}

void HeadlessView::participantInserted(int index, std::string_view text, int id) {
  MutexLock lock(mutex_);
  insertLine(index, text, id);
}

void HeadlessView::participantRemoved(int index) {
  MutexLock lock(mutex_);
  removeLine(index);
}

void HeadlessView::participantRebuilt(int from, int to, std::string_view text, int id) {
  MutexLock lock(mutex_);
  // The selection stays with its participant, as in the window.
  const bool wasSelected = from >= 0 && selection_ == from;
  removeLine(from);
  insertLine(to, text, id);
  if (wasSelected) selection_ = to;
}

void HeadlessView::participantsCleared() {
  MutexLock lock(mutex_);
  lines_.clear();
  selection_ = -1;
}

void HeadlessView::matchChanged(MatchState state) {
  MutexLock lock(mutex_);
  match_ = state;
}

void HeadlessView::captionsChanged(std::string_view left, std::string_view right) {
  MutexLock lock(mutex_);
  leftCaption_ = left;
  rightCaption_ = right;
}

void HeadlessView::boardsChanged() {
  MutexLock lock(mutex_);
  ++repaints_;
}

bool HeadlessView::askChallenge(std::string_view name) {
  Answerer answerer;
  {
    MutexLock lock(mutex_);
    ++questions_;
    answerer = answerer_;
  }
  // Answered outside the lock: a test's answerer may wait, and others may read the view.
  return answerer ? answerer(challengeQuestion(name), questionCaption()) : false;
}

void HeadlessView::requestAttention() {
  MutexLock lock(mutex_);
  ++attentionRequests_;
}

std::string HeadlessView::status() const {
  MutexLock lock(mutex_);
  return status_;
}

std::vector<std::string> HeadlessView::statusHistory() const {
  MutexLock lock(mutex_);
  return statusHistory_;
}

std::string HeadlessView::chatLog() const {
  MutexLock lock(mutex_);
  return chatLog_.text();
}

std::vector<std::string> HeadlessView::chatHistory() const {
  MutexLock lock(mutex_);
  return chatHistory_;
}

std::string HeadlessView::leftCaption() const {
  MutexLock lock(mutex_);
  return leftCaption_;
}

std::string HeadlessView::rightCaption() const {
  MutexLock lock(mutex_);
  return rightCaption_;
}

ConnectionState HeadlessView::connection() const {
  MutexLock lock(mutex_);
  return connection_;
}

MatchState HeadlessView::match() const {
  MutexLock lock(mutex_);
  return match_;
}

std::string HeadlessView::name() const {
  MutexLock lock(mutex_);
  return name_;
}

std::string HeadlessView::address() const {
  MutexLock lock(mutex_);
  return address_;
}

std::vector<std::string> HeadlessView::listLines() const {
  MutexLock lock(mutex_);
  std::vector<std::string> out;
  for (const Line& line : lines_) out.push_back(line.text);
  return out;
}

int HeadlessView::listItem(int index) const {
  MutexLock lock(mutex_);
  if (index < 0 || index >= static_cast<int>(lines_.size())) return -1;
  return lines_[index].id;
}

int HeadlessView::selection() const {
  MutexLock lock(mutex_);
  return selection_;
}

void HeadlessView::select(int index) {
  MutexLock lock(mutex_);
  selection_ = (index >= 0 && index < static_cast<int>(lines_.size())) ? index : -1;
}

int HeadlessView::selectedId() const {
  MutexLock lock(mutex_);
  return selection_ >= 0 ? lines_[selection_].id : -1;
}

bool HeadlessView::selectId(int id) {
  MutexLock lock(mutex_);
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
    if (lines_[i].id == id) {
      selection_ = i;
      return true;
    }
  }
  return false;
}

int HeadlessView::questionsAsked() const {
  MutexLock lock(mutex_);
  return questions_;
}

int HeadlessView::attentionRequests() const {
  MutexLock lock(mutex_);
  return attentionRequests_;
}

int HeadlessView::repaintRequests() const {
  MutexLock lock(mutex_);
  return repaints_;
}

}  // namespace pentaro
