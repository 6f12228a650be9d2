// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "discovery/lobby_txt.h"

#include <unistd.h>

#include <charconv>
#include <climits>

namespace pentaro::lobby_txt {
namespace {

constexpr char kTxtVersionKey[] = "txtvers";
constexpr char kVersionKey[] = "version";
constexpr char kPlayersKey[] = "players";
constexpr char kUnknownMachine[] = "pentaro";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::vector<std::string> entries(std::string_view version, int players) {
  return {std::string(kTxtVersionKey) + "=" + kTxtVersion,
          std::string(kVersionKey) + "=" + std::string(version),
          std::string(kPlayersKey) + "=" + std::to_string(players)};
}

std::optional<std::string> value(const std::vector<std::string>& entries, std::string_view key) {
  for (const std::string& entry : entries) {
    if (entry.size() > key.size() && entry.compare(0, key.size(), key) == 0 &&
        entry[key.size()] == '=') {
      return entry.substr(key.size() + 1);
    }
  }
  return std::nullopt;
}

std::optional<int> players(const std::vector<std::string>& entries) {
  const std::optional<std::string> text = value(entries, kPlayersKey);
  if (!text || text->empty()) return std::nullopt;
  int count = 0;
  const char* end = text->data() + text->size();
  const auto [last, error] = std::from_chars(text->data(), end, count);
  if (error != std::errc() || last != end || count < 0) return std::nullopt;
  return count;
}

std::string instanceName(std::string_view utf8Name, std::string_view fallback) {
  std::string name;
  for (const char c : utf8Name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < kFirstPrintable || byte == kDelete) continue;
    name += c;
  }
  if (name.size() > kInstanceNameBytes) {
    std::size_t cut = kInstanceNameBytes;
    while (cut > 0 && isContinuationByte(static_cast<unsigned char>(name[cut]))) --cut;
    name.resize(cut);
  }
  return name.empty() ? std::string(fallback) : name;
}

std::string machineName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return kUnknownMachine;
  return name;
}

}  // namespace pentaro::lobby_txt
