#include "ui/headless_window.h"

#include "text/cp932.h"
#include "text/texts.h"
#include "ui/controls.h"
#include "ui/list_order.h"

namespace pentaro {
namespace {

// Where `text` goes in the list box's `lines`. Takes the lines as a parameter because the lock
// analysis checks a lambda as a function of its own, without the caller's lock.
template <typename Lines>
int insertIndexIn(const Lines& lines, std::string_view text) {
  return sortedInsertIndex(static_cast<int>(lines.size()), text,
                           [&lines](int i) { return std::string_view(lines[i].text); });
}

}  // namespace

HeadlessWindow::HeadlessWindow() {
  // The controls that do not start enabled and empty, as the dialog template makes them.
  controls_[IDC_END_MATCH].enabled = false;
  controls_[IDC_STATUS].text = texts().notConnected;
}

void HeadlessWindow::setAnswerer(Answerer answerer) {
  MutexLock lock(mutex_);
  answerer_ = std::move(answerer);
}

void HeadlessWindow::setPostHandler(PostHandler handler) {
  MutexLock lock(mutex_);
  postHandler_ = std::move(handler);
}

void HeadlessWindow::setKeepsHistory(bool keep) {
  MutexLock lock(mutex_);
  keepsHistory_ = keep;
}

void HeadlessWindow::setText(int id, std::string_view text) {
  MutexLock lock(mutex_);
  Control& c = controls_[id];
  c.text = text;
  if (keepsHistory_) c.history.emplace_back(text);
}

std::string HeadlessWindow::text(int id, int maxBytes) const {
  MutexLock lock(mutex_);
  auto it = controls_.find(id);
  if (it == controls_.end()) return {};
  return std::string(cp932::truncate(it->second.text, static_cast<std::size_t>(maxBytes)));
}

int HeadlessWindow::textLength(int id) const {
  MutexLock lock(mutex_);
  auto it = controls_.find(id);
  return it == controls_.end() ? 0 : static_cast<int>(it->second.text.size());
}

void HeadlessWindow::appendText(int id, std::string_view text) {
  MutexLock lock(mutex_);
  Control& c = controls_[id];
  c.text += text;
  if (keepsHistory_) c.history.emplace_back(text);
}

void HeadlessWindow::setEnabled(int id, bool enabled) {
  MutexLock lock(mutex_);
  controls_[id].enabled = enabled;
}

bool HeadlessWindow::isEnabled(int id) const {
  MutexLock lock(mutex_);
  auto it = controls_.find(id);
  return it == controls_.end() || it->second.enabled;
}

void HeadlessWindow::setPressed(int id, bool pressed) {
  MutexLock lock(mutex_);
  controls_[id].pressed = pressed;
}

bool HeadlessWindow::isPressed(int id) const {
  MutexLock lock(mutex_);
  auto it = controls_.find(id);
  return it != controls_.end() && it->second.pressed;
}

int HeadlessWindow::listAdd(std::string_view text, int item) {
  MutexLock lock(mutex_);
  const int index = insertIndexIn(lines_, text);
  lines_.insert(lines_.begin() + index, Line{std::string(text), item});
  if (selection_ >= index) ++selection_;
  return index;
}

void HeadlessWindow::listDelete(int index) {
  MutexLock lock(mutex_);
  if (index < 0 || index >= static_cast<int>(lines_.size())) return;
  lines_.erase(lines_.begin() + index);
  if (selection_ == index) {
    selection_ = -1;
  } else if (selection_ > index) {
    --selection_;
  }
}

int HeadlessWindow::listCount() const {
  MutexLock lock(mutex_);
  return static_cast<int>(lines_.size());
}

int HeadlessWindow::listItem(int index) const {
  MutexLock lock(mutex_);
  if (index < 0 || index >= static_cast<int>(lines_.size())) return -1;
  return lines_[index].item;
}

std::string HeadlessWindow::listText(int index) const {
  MutexLock lock(mutex_);
  if (index < 0 || index >= static_cast<int>(lines_.size())) return {};
  return lines_[index].text;
}

int HeadlessWindow::listSelection() const {
  MutexLock lock(mutex_);
  return selection_;
}

void HeadlessWindow::listSelect(int index) {
  MutexLock lock(mutex_);
  selection_ = (index >= 0 && index < static_cast<int>(lines_.size())) ? index : -1;
}

bool HeadlessWindow::askYesNo(std::string_view question, std::string_view caption) {
  Answerer answerer;
  {
    MutexLock lock(mutex_);
    ++questions_;
    answerer = answerer_;
  }
  // Answered outside the lock: a test's answerer may wait, and others may read the window.
  return answerer ? answerer(std::string(question), std::string(caption)) : false;
}

void HeadlessWindow::requestAttention() {
  MutexLock lock(mutex_);
  ++attentionRequests_;
}

void HeadlessWindow::post(int command, std::uint32_t argument) {
  PostHandler handler;
  {
    MutexLock lock(mutex_);
    handler = postHandler_;
  }
  if (handler) handler(command, argument);
}

std::string HeadlessWindow::fullText(int id) const {
  MutexLock lock(mutex_);
  auto it = controls_.find(id);
  return it == controls_.end() ? std::string() : it->second.text;
}

std::vector<std::string> HeadlessWindow::textHistory(int id) const {
  MutexLock lock(mutex_);
  auto it = controls_.find(id);
  return it == controls_.end() ? std::vector<std::string>() : it->second.history;
}

std::vector<std::string> HeadlessWindow::listLines() const {
  MutexLock lock(mutex_);
  std::vector<std::string> out;
  for (const Line& line : lines_) out.push_back(line.text);
  return out;
}

int HeadlessWindow::questionsAsked() const {
  MutexLock lock(mutex_);
  return questions_;
}

int HeadlessWindow::attentionRequests() const {
  MutexLock lock(mutex_);
  return attentionRequests_;
}

}  // namespace pentaro
