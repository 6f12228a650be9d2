// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a lobby says about itself over DNS-SD: the service type, the instance name made from a
// player's or machine's name, and the TXT record ("txtvers=1", "version=1.01", "players=3").
// Plain functions with no state; any thread may call them.
#ifndef PENTARO_DISCOVERY_LOBBY_TXT_H_
#define PENTARO_DISCOVERY_LOBBY_TXT_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pentaro::lobby_txt {

inline constexpr char kServiceType[] = "_pentaro._tcp";
inline constexpr char kTxtVersion[] = "1";
// A DNS label, and so an instance name, holds at most 63 bytes.
inline constexpr std::size_t kInstanceNameBytes = 63;

// The TXT strings of a lobby with `players` registered players.
std::vector<std::string> entries(std::string_view version, int players);

// The value of `key` among TXT strings ("key=value"); nothing when it is missing.
std::optional<std::string> value(const std::vector<std::string>& entries, std::string_view key);
// The player count of a lobby's TXT strings; nothing when it is missing or not a count.
std::optional<int> players(const std::vector<std::string>& entries);

// `utf8Name` cut to kInstanceNameBytes without splitting a character, control characters
// dropped; `fallback` when nothing is left.
std::string instanceName(std::string_view utf8Name, std::string_view fallback);

// This machine's name (gethostname), "pentaro" when it cannot be read.
std::string machineName();

}  // namespace pentaro::lobby_txt

#endif  // PENTARO_DISCOVERY_LOBBY_TXT_H_
