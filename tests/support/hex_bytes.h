// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Byte strings written as hex ("94 7A 92 75"), so that expected CP932 texts are spelled out byte
// by byte instead of going through the converter under test.
#ifndef PENTARO_TESTS_SUPPORT_HEX_BYTES_H_
#define PENTARO_TESTS_SUPPORT_HEX_BYTES_H_

#include <sstream>
#include <string>
#include <string_view>

namespace pentaro::testing {

inline std::string hexBytes(std::string_view hex) {
  std::istringstream in{std::string(hex)};
  std::string out;
  unsigned value = 0;
  while (in >> std::hex >> value) out += static_cast<char>(value);
  return out;
}

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_SUPPORT_HEX_BYTES_H_
