// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Texts across the Qt boundary: the program keeps CP932 bytes, Qt keeps UTF-16. A character that
// CP932 cannot hold becomes "?" on the way in. Pure functions; any thread.
#ifndef PENTARO_APP_QT_TEXT_H_
#define PENTARO_APP_QT_TEXT_H_

#include <QString>
#include <string>
#include <string_view>

namespace pentaro {

QString toQString(std::string_view cp932Text);
std::string toCp932(const QString& text);

}  // namespace pentaro

#endif  // PENTARO_APP_QT_TEXT_H_
