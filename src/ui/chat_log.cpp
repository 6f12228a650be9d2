// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/chat_log.h"

namespace pentaro {

bool ChatLog::add(std::string_view line) {
  const bool full = text_.size() >= kLimitBytes;
  if (full) text_.clear();
  text_ += line;
  text_ += "\r\n";
  return full;
}

}  // namespace pentaro
