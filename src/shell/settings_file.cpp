// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/settings_file.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <istream>
#include <ostream>

#include "text/cp932.h"

namespace pentaro {
namespace {

// One record: the length, then length + 1 bytes, the last meant to be a zero byte. The text is
// taken by the length, cut at a zero byte inside it; the closing byte is never relied on, since a
// damaged file may hold anything there. Nothing when the file ends early, or when the length is
// negative or the record would not fit the 80-byte buffer.
bool readRecord(std::istream& in, std::string& text) {
  unsigned char length[2];
  if (!in.read(reinterpret_cast<char*>(length), 2)) return false;
  const auto bytes = static_cast<std::int16_t>(length[0] | length[1] << 8);
  if (bytes < 0 || bytes + 1 > SettingsFile::kBufferBytes) return false;
  char buffer[SettingsFile::kBufferBytes];
  if (!in.read(buffer, bytes + 1)) return false;
  const std::string_view record(buffer, static_cast<std::size_t>(bytes));
  text.assign(record.substr(0, record.find('\0')));
  return true;
}

void writeRecord(std::ostream& out, std::string_view text) {
  const auto bytes = static_cast<std::uint16_t>(text.size());
  const char length[2] = {static_cast<char>(bytes & 0xFF), static_cast<char>(bytes >> 8)};
  out.write(length, 2);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.put('\0');
}

}  // namespace

SettingsFile::Records SettingsFile::read(std::istream& in) {
  Records records;
  std::string text;
  if (!readRecord(in, text)) return records;
  records.name = text;
  if (readRecord(in, text)) records.address = text;
  return records;
}

void SettingsFile::write(std::ostream& out, std::string_view name, std::string_view address) {
  writeRecord(out, name);
  writeRecord(out, address);
}

std::optional<SettingsFile::Records> SettingsFile::load() const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return std::nullopt;
  return read(in);
}

bool SettingsFile::save(std::string_view name, std::string_view address) const {
  // Written beside the old file and renamed over it, so a crash while saving keeps the old one.
  const std::string temporary = path_ + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    // A longer text would not fit the reader's buffer: whole characters up to 78 bytes.
    constexpr std::size_t kTextBytes = kBufferBytes - 2;
    write(out, cp932::truncate(name, kTextBytes), cp932::truncate(address, kTextBytes));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path_.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace pentaro
