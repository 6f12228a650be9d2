// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The copyright and licence lines that every program prints after its name and version for
// --version, worded as GNU programs word them. Constant data, for any thread.
#ifndef PENTARO_BASE_LICENCE_NOTICE_H_
#define PENTARO_BASE_LICENCE_NOTICE_H_

namespace pentaro {

inline constexpr char kLicenceNotice[] =
    "Copyright (C) 2026 The Pentaro developers.\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

}  // namespace pentaro

#endif  // PENTARO_BASE_LICENCE_NOTICE_H_
