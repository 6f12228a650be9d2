// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A received line split at TAB into at most 30 fields. A field beyond the last reads as empty;
// the 30th field keeps the rest of the line, TABs included. Owns a copy of the line.
#ifndef PENTARO_NET_MESSAGE_FIELDS_H_
#define PENTARO_NET_MESSAGE_FIELDS_H_

#include <string>
#include <string_view>
#include <vector>

namespace pentaro {

class MessageFields {
 public:
  explicit MessageFields(std::string_view line);

  int count() const { return static_cast<int>(fields_.size()); }
  // Empty for a negative index or one not below count().
  std::string_view field(int index) const;
  // The field read as a number (see parseNumber).
  int number(int index) const;
  // Field 0 equals `command`, whole and case-sensitively.
  bool is(std::string_view command) const { return field(0) == command; }

 private:
  std::string text_;
  std::vector<std::string_view> fields_;  // views into text_
};

// Reads a number the lenient way: leading blanks are skipped, an optional sign and the digits
// after it are taken, the first other byte ends the number; no digits give 0. Values beyond the
// range of int saturate.
int parseNumber(std::string_view text);

}  // namespace pentaro

#endif  // PENTARO_NET_MESSAGE_FIELDS_H_
