// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/cp932_validator.h"

#include <algorithm>
#include <string>

#include "app/qt_text.h"

namespace pentaro {
namespace {

constexpr char16_t kFirstPrintable = 0x20;
constexpr char16_t kDelete = 0x7F;

bool hasControlCharacter(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) {
    return c.unicode() < kFirstPrintable || c.unicode() == kDelete;
  });
}

}  // namespace

Cp932Validator::Cp932Validator(int maxBytes, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes) {}

QValidator::State Cp932Validator::validate(QString& input, int& position) const {
  if (hasControlCharacter(input)) return Invalid;
  const std::string bytes = toCp932(input);
  // The conversion writes "?" for every character it cannot carry; "?" is never a trail byte.
  if (std::count(bytes.begin(), bytes.end(), '?') != input.count(QLatin1Char('?'))) return Invalid;
  if (static_cast<int>(bytes.size()) > maxBytes_) return Invalid;
  const QString arriving = toQString(bytes);
  if (arriving != input) {
    input = arriving;
    position = std::min(position, static_cast<int>(input.size()));
  }
  return Acceptable;
}

}  // namespace pentaro
