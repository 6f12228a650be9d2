#include "ui/headless_window.h"

#include "text/cp932.h"
#include "text/texts.h"
#include "ui/controls.h"
#include "ui/list_order.h"

namespace pentaro {

HeadlessWindow::HeadlessWindow() {
  // The controls that do not start enabled and empty, as the dialog template makes them.
  controls_[IDC_END_MATCH].enabled = false;
  controls_[IDC_STATUS].text = texts().notConnected;
}

void HeadlessWindow::setAnswerer(Answerer answerer) {
  std::lock_guard lock(mutex_);
  answerer_ = std::move(answerer);
}

void HeadlessWindow::setPostHandler(PostHandler handler) {
  std::lock_guard lock(mutex_);
  postHandler_ = std::move(handler);
}

void HeadlessWindow::setKeepsHistory(bool keep) {
  std::lock_guard lock(mutex_);
  keepsHistory_ = keep;
}

void HeadlessWindow::setText(int id, std::string_view text) {
  std::lock_guard lock(mutex_);
  Control& c = controls_[id];
  c.text = text;
  if (keepsHistory_) c.history.emplace_back(text);
}

std::string HeadlessWindow::text(int id, int maxBytes) const {
  std::lock_guard lock(mutex_);
  auto it = controls_.find(id);
  if (it == controls_.end()) return {};
  return std::string(cp932::truncate(it->second.text, static_cast<std::size_t>(maxBytes)));
}

int HeadlessWindow::textLength(int id) const {
  std::lock_guard lock(mutex_);
  auto it = controls_.find(id);
  return it == controls_.end() ? 0 : static_cast<int>(it->second.text.size());
}

void HeadlessWindow::appendText(int id, std::string_view text) {
  std::lock_guard lock(mutex_);
  Control& c = controls_[id];
  c.text += text;
  if (keepsHistory_) c.history.emplace_back(text);
}

void HeadlessWindow::setEnabled(int id, bool enabled) {
  std::lock_guard lock(mutex_);
  controls_[id].enabled = enabled;
}

bool HeadlessWindow::isEnabled(int id) const {
  std::lock_guard lock(mutex_);
  auto it = controls_.find(id);
  return it == controls_.end() || it->second.enabled;
}

void HeadlessWindow::setPressed(int id, bool pressed) {
  std::lock_guard lock(mutex_);
  controls_[id].pressed = pressed;
}

bool HeadlessWindow::isPressed(int id) const {
  std::lock_guard lock(mutex_);
  auto it = controls_.find(id);
  return it != controls_.end() && it->second.pressed;
}

int HeadlessWindow::listAdd(std::string_view text, int item) {
  std::lock_guard lock(mutex_);
  int index = sortedInsertIndex(static_cast<int>(lines_.size()), text,
                                [this](int i) { return std::string_view(lines_[i].text); });
  lines_.insert(lines_.begin() + index, Line{std::string(text), item});
  if (selection_ >= index) ++selection_;
  return index;
}

void HeadlessWindow::listDelete(int index) {
  std::lock_guard lock(mutex_);
  if (index < 0 || index >= static_cast<int>(lines_.size())) return;
  lines_.erase(lines_.begin() + index);
  if (selection_ == index) {
    selection_ = -1;
  } else if (selection_ > index) {
    --selection_;
  }
}

int HeadlessWindow::listCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(lines_.size());
}

int HeadlessWindow::listItem(int index) const {
  std::lock_guard lock(mutex_);
  if (index < 0 || index >= static_cast<int>(lines_.size())) return -1;
  return lines_[index].item;
}

std::string HeadlessWindow::listText(int index) const {
  std::lock_guard lock(mutex_);
  if (index < 0 || index >= static_cast<int>(lines_.size())) return {};
  return lines_[index].text;
}

int HeadlessWindow::listSelection() const {
  std::lock_guard lock(mutex_);
  return selection_;
}

void HeadlessWindow::listSelect(int index) {
  std::lock_guard lock(mutex_);
  selection_ = (index >= 0 && index < static_cast<int>(lines_.size())) ? index : -1;
}

bool HeadlessWindow::askYesNo(std::string_view question, std::string_view caption) {
  Answerer answerer;
  {
    std::lock_guard lock(mutex_);
    ++questions_;
    answerer = answerer_;
  }
  // Answered outside the lock: a test's answerer may wait, and others may read the window.
  return answerer ? answerer(std::string(question), std::string(caption)) : false;
}

void HeadlessWindow::requestAttention() {
  std::lock_guard lock(mutex_);
  ++attentionRequests_;
}

void HeadlessWindow::post(int command, std::uint32_t argument) {
  PostHandler handler;
  {
    std::lock_guard lock(mutex_);
    handler = postHandler_;
  }
  if (handler) handler(command, argument);
}

std::string HeadlessWindow::fullText(int id) const {
  std::lock_guard lock(mutex_);
  auto it = controls_.find(id);
  return it == controls_.end() ? std::string() : it->second.text;
}

std::vector<std::string> HeadlessWindow::textHistory(int id) const {
  std::lock_guard lock(mutex_);
  auto it = controls_.find(id);
  return it == controls_.end() ? std::vector<std::string>() : it->second.history;
}

std::vector<std::string> HeadlessWindow::listLines() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const Line& line : lines_) out.push_back(line.text);
  return out;
}

int HeadlessWindow::questionsAsked() const {
  std::lock_guard lock(mutex_);
  return questions_;
}

int HeadlessWindow::attentionRequests() const {
  std::lock_guard lock(mutex_);
  return attentionRequests_;
}

}  // namespace pentaro
