// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/message_fields.h"

#include <climits>

#include "net/protocol.h"

namespace pentaro {

MessageFields::MessageFields(std::string_view line) : text_(line) {
  std::string_view rest(text_);
  while (static_cast<int>(fields_.size()) < protocol::kMaxFields - 1) {
    const auto tab = rest.find('\t');
    if (tab == std::string_view::npos) break;
    fields_.push_back(rest.substr(0, tab));
    rest.remove_prefix(tab + 1);
  }
  fields_.push_back(rest);
}

std::string_view MessageFields::field(int index) const {
  if (index < 0 || index >= count()) return {};
  return fields_[static_cast<size_t>(index)];
}

int MessageFields::number(int index) const { return parseNumber(field(index)); }

int parseNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

}  // namespace pentaro
