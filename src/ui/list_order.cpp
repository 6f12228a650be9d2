// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/list_order.h"

#include <cstddef>

#include "text/cp932.h"

namespace pentaro {
namespace {

// Folds ASCII letters, but only where a byte is a character of its own: the second byte of a
// two-byte character may look like a letter.
std::string foldLetters(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (cp932::isLeadByte(c)) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

}  // namespace

bool listLess(std::string_view a, std::string_view b) {
  std::string x = foldLetters(a), y = foldLetters(b);
  // Compare as unsigned bytes, so that two-byte characters sort after ASCII.
  return std::string_view(x).compare(y) < 0;
}

}  // namespace pentaro
