// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace pentaro::cp932 {
namespace {

// One conversion with a fresh iconv descriptor: iconv state is not shareable between threads,
// and the texts converted are short.
std::string convert(const char* to, const char* from, std::string_view in, std::string_view bad,
                    std::size_t (*skip)(std::string_view)) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  out.reserve(in.size() * 2 + 4);
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: replace one character of the input and go on.
    std::size_t n = skip(std::string_view(inPtr, inLeft));
    inPtr += n;
    inLeft -= n;
    out.append(bad);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

std::size_t utf8SequenceLength(std::string_view s) {
  unsigned char c = static_cast<unsigned char>(s[0]);
  std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  // A malformed sequence is replaced byte by byte up to the next plausible start.
  for (std::size_t i = 1; i < n; ++i) {
    if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return i;
  }
  return n;
}

bool isTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// A lead byte takes the next byte with it only if that byte can end a double-byte character; a
// stray lead byte must not swallow the ASCII character after it.
std::size_t cp932SequenceLength(std::string_view s) {
  return isLeadByte(static_cast<unsigned char>(s[0])) && s.size() >= 2 &&
                 isTrailByte(static_cast<unsigned char>(s[1]))
             ? 2
             : 1;
}

}  // namespace

bool isLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string_view truncate(std::string_view text, std::size_t maxBytes) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + n > maxBytes || i + n > text.size()) break;
    i += n;
  }
  return text.substr(0, i);
}

std::string fromUtf8(std::string_view utf8) {
  return convert("CP932", "UTF-8", utf8, "?", utf8SequenceLength);
}

std::string toUtf8(std::string_view cp932Text) {
  return convert("UTF-8", "CP932", cp932Text, "\xEF\xBF\xBD", cp932SequenceLength);
}

}  // namespace pentaro::cp932
