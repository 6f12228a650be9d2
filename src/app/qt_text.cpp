// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/qt_text.h"

#include <QByteArray>

#include "text/cp932.h"

namespace pentaro {

QString toQString(std::string_view cp932Text) {
  const std::string utf8 = cp932::toUtf8(cp932Text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp932(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return cp932::fromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace pentaro
