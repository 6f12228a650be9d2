// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzz target: the settings file's bytes, as a damaged or hostile "qm.ini" would hold them.
// Invariants: only whole records whose text fits the 80-byte buffer load (checked against the
// layout: a 16-bit length, that many bytes, one more), no text exceeds 79 bytes or holds a zero
// byte, and load -> save -> load is stable: the second load gives what the window held (cut to
// the 78 bytes a save reads) and a second save writes the same bytes.
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "shell/program.h"
#include "shell/settings_file.h"
#include "text/cp932.h"

namespace {

using pentaro::SettingsFile;

SettingsFile::Records readBytes(const std::string& bytes) {
  std::istringstream in(bytes);
  return SettingsFile::read(in);
}

std::string writeTexts(std::string_view name, std::string_view address) {
  std::ostringstream out;
  SettingsFile::write(out, name, address);
  return out.str();
}

// The record at `offset` is whole and fits: its length is 0..79 and its bytes and the closing
// byte lie inside the file. Moves `offset` past it.
bool wholeRecordAt(std::string_view bytes, std::size_t& offset) {
  if (bytes.size() < offset + 2) return false;
  const auto length = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[offset]) |
                                                static_cast<unsigned char>(bytes[offset + 1]) << 8);
  if (length < 0 || length + 1 > SettingsFile::kBufferBytes) return false;
  offset += 2 + static_cast<std::size_t>(length) + 1;
  return offset <= bytes.size();
}

void checkText(const std::optional<std::string>& text) {
  if (!text) return;
  FUZZ_CHECK(text->size() < static_cast<std::size_t>(SettingsFile::kBufferBytes));
  FUZZ_CHECK(text->find('\0') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const SettingsFile::Records first = readBytes(bytes);

  std::size_t offset = 0;
  const bool nameWhole = wholeRecordAt(bytes, offset);
  const bool addressWhole = nameWhole && wholeRecordAt(bytes, offset);
  FUZZ_CHECK(first.name.has_value() == nameWhole);
  FUZZ_CHECK(first.address.has_value() == addressWhole);
  checkText(first.name);
  checkText(first.address);

  // What the program does with the file: load into its fields (whole characters of at most 78
  // bytes), save at shut-down, load next run.
  constexpr std::size_t kFieldBytes = pentaro::Program::kFieldBytes;
  const std::string name(pentaro::cp932::truncate(first.name.value_or(""), kFieldBytes));
  const std::string address(pentaro::cp932::truncate(first.address.value_or(""), kFieldBytes));
  const std::string saved = writeTexts(name, address);
  FUZZ_CHECK(saved.size() == name.size() + address.size() + 6);

  const SettingsFile::Records second = readBytes(saved);
  FUZZ_CHECK(second.name == name);
  FUZZ_CHECK(second.address == address);
  FUZZ_CHECK(writeTexts(*second.name, *second.address) == saved);
  return 0;
}
