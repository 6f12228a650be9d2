// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzz target: a received line split into fields, and numbers read from it. The line's bytes are
// the input, as a hostile peer would send them (any byte, NULs and line ends included).
// Invariants: 1 to 30 fields, as many as the TABs allow; the fields joined with TAB give the line
// back; a number reads as the C library reads it, saturated to the range of int.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "net/message_fields.h"
#include "net/protocol.h"

namespace {

using pentaro::MessageFields;
using pentaro::parseNumber;

// The reference reading: strtoll (base 10, the same blanks, sign and digits) clamped to int. The
// text is cut at a NUL, which is no digit and ends the number either way.
int referenceNumber(std::string_view text) {
  const std::string copy(text);
  errno = 0;
  const long long value = std::strtoll(copy.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void checkFields(std::string_view line) {
  const MessageFields fields(line);
  const auto tabs = static_cast<int>(std::count(line.begin(), line.end(), '\t'));
  FUZZ_CHECK(fields.count() == std::min(tabs + 1, pentaro::protocol::kMaxFields));

  std::string joined;
  for (int i = 0; i < fields.count(); ++i) {
    if (i > 0) joined += '\t';
    const std::string_view field = fields.field(i);
    if (i < fields.count() - 1) FUZZ_CHECK(field.find('\t') == std::string_view::npos);
    joined += field;
    FUZZ_CHECK(fields.number(i) == referenceNumber(field));
  }
  FUZZ_CHECK(joined == line);
  FUZZ_CHECK(fields.field(-1).empty());
  FUZZ_CHECK(fields.field(fields.count()).empty());
  FUZZ_CHECK(fields.number(fields.count()) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  checkFields(line);
  FUZZ_CHECK(parseNumber(line) == referenceNumber(line));
  return 0;
}
