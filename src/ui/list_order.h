// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The collation of the participant list, which the participant model sorts its lines by, so that
// the list reads in the same order on every front end (the lobby server's welcome follows it).
#ifndef PENTARO_UI_LIST_ORDER_H_
#define PENTARO_UI_LIST_ORDER_H_

#include <string>
#include <string_view>

namespace pentaro {

// Byte order of the CP932 texts with ASCII letters compared case-insensitively.
bool listLess(std::string_view a, std::string_view b);

}  // namespace pentaro

#endif  // PENTARO_UI_LIST_ORDER_H_
