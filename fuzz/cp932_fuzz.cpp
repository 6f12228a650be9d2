// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzz target: the CP932 helpers on any bytes, read both as CP932 (a name or a chat line from a
// peer) and as UTF-8 (text from the window). Invariants: truncate gives the longest prefix within
// the limit that ends on a character boundary; toUtf8 gives valid UTF-8; fromUtf8 gives CP932 in
// which every lead byte has its trail byte and which converts back without a replacement
// character; neither conversion loses or invents a TAB, CR, LF or NUL; converting to UTF-8 and
// back is stable.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "text/cp932.h"

namespace {

namespace cp932 = pentaro::cp932;

constexpr std::size_t kMaxLimit = 300;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::size_t characterBytes(std::string_view text, std::size_t at) {
  return cp932::isLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
}

bool isTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Every lead byte is followed by a byte that can end a double-byte character.
bool isWellFormedCp932(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); i += characterBytes(text, i)) {
    if (characterBytes(text, i) == 2 &&
        (i + 1 >= text.size() || !isTrailByte(static_cast<unsigned char>(text[i + 1])))) {
      return false;
    }
  }
  return true;
}

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    std::size_t length;
    std::uint32_t code;
    if (byte < 0x80) {
      length = 1, code = byte;
    } else if (byte >= 0xC2 && byte <= 0xDF) {
      length = 2, code = byte & 0x1F;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      length = 3, code = byte & 0x0F;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      length = 4, code = byte & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

// The bytes that frame lines and fields; no CP932 or UTF-8 character contains them.
std::string separators(std::string_view text) {
  std::string kept;
  std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
               [](char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\0'; });
  return kept;
}

void checkTruncate(std::string_view text, std::size_t limit) {
  const std::string_view cut = cp932::truncate(text, limit);
  FUZZ_CHECK(cut.data() == text.data());
  FUZZ_CHECK(cut.size() <= limit);
  std::size_t i = 0;
  while (i < cut.size()) i += characterBytes(text, i);
  FUZZ_CHECK(i == cut.size());  // ends on a character boundary
  if (cut.size() < text.size()) {
    const std::size_t next = characterBytes(text, cut.size());
    FUZZ_CHECK(cut.size() + next > limit || cut.size() + next > text.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const auto limit = provider.ConsumeIntegralInRange<std::size_t>(0, kMaxLimit);
  const std::string bytes = provider.ConsumeRemainingBytesAsString();

  checkTruncate(bytes, limit);

  const std::string utf8 = cp932::toUtf8(bytes);
  FUZZ_CHECK(isValidUtf8(utf8));
  FUZZ_CHECK(separators(utf8) == separators(bytes));

  const std::string sjis = cp932::fromUtf8(bytes);
  FUZZ_CHECK(isWellFormedCp932(sjis));
  FUZZ_CHECK(separators(sjis) == separators(bytes));
  const std::string back = cp932::toUtf8(sjis);
  FUZZ_CHECK(back.find(kReplacement) == std::string::npos);
  FUZZ_CHECK(cp932::toUtf8(cp932::fromUtf8(back)) == back);

  // Text that is CP932 already survives the way to the window and back.
  if (utf8.find(kReplacement) == std::string::npos) {
    FUZZ_CHECK(cp932::toUtf8(cp932::fromUtf8(utf8)) == utf8);
  }
  return 0;
}
