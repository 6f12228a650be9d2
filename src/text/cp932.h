// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// CP932 (Shift_JIS) text helpers. Inside the program every text is a std::string of CP932 bytes:
// the wire and the settings file carry them unchanged. UTF-8 appears only at the window boundary
// and in the UTF-8 source of the text table. All functions are pure and thread-safe.
#ifndef PENTARO_TEXT_CP932_H_
#define PENTARO_TEXT_CP932_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace pentaro::cp932 {

// True for a byte that starts a two-byte CP932 character.
bool isLeadByte(unsigned char byte);

// The longest prefix of `text` of at most `maxBytes` bytes that does not split a two-byte
// character.
std::string_view truncate(std::string_view text, std::size_t maxBytes);

// UTF-8 to CP932; a character CP932 cannot hold (or a malformed UTF-8 sequence) becomes "?".
std::string fromUtf8(std::string_view utf8);

// CP932 to UTF-8; a byte sequence that is not CP932 becomes U+FFFD.
std::string toUtf8(std::string_view cp932Text);

}  // namespace pentaro::cp932

#endif  // PENTARO_TEXT_CP932_H_
