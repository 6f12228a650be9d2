// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The input of the conversation targets: a transcript, one event per line (LF-separated). Lines
// are handed over without CR and NUL, as the line reader never delivers them, so the checked-in
// seeds are readable conversations that libFuzzer mutates. Header only.
#ifndef PENTARO_FUZZ_TRANSCRIPT_H_
#define PENTARO_FUZZ_TRANSCRIPT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pentaro::fuzzing {

// At most this many events are played, so that every input runs quickly.
inline constexpr std::size_t kMaxEvents = 300;

inline std::vector<std::string> transcriptLines(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < size && lines.size() <= kMaxEvents; ++i) {
    const char byte = static_cast<char>(data[i]);
    if (byte == '\n') {
      lines.emplace_back();
    } else if (byte != '\r' && byte != '\0') {
      lines.back() += byte;
    }
  }
  if (lines.size() > kMaxEvents) lines.resize(kMaxEvents);
  return lines;
}

}  // namespace pentaro::fuzzing

#endif  // PENTARO_FUZZ_TRANSCRIPT_H_
