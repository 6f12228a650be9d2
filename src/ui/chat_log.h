// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The chat log's text as every view keeps it: lines ended by CR LF, started afresh once it has
// reached kLimitBytes, so a lobby that runs for days keeps a bounded log. A plain value; its owner
// serialises the calls.
#ifndef PENTARO_UI_CHAT_LOG_H_
#define PENTARO_UI_CHAT_LOG_H_

#include <string>
#include <string_view>

namespace pentaro {

class ChatLog {
 public:
  static constexpr std::size_t kLimitBytes = 32000;

  // Adds `line` and CR LF. Returns true when the line replaced the whole log instead.
  bool add(std::string_view line);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace pentaro

#endif  // PENTARO_UI_CHAT_LOG_H_
