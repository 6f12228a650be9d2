// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeps an edit field to what the program sends from it: at most a given number of CP932 bytes,
// no character that CP932 cannot carry and no control character (a TAB would split the line it
// travels in). A character that CP932 carries as another one (〜 as ～) is shown as it will
// arrive. Owned by its field through the Qt parent; UI thread only.
#ifndef PENTARO_APP_CP932_VALIDATOR_H_
#define PENTARO_APP_CP932_VALIDATOR_H_

#include <QValidator>

namespace pentaro {

class Cp932Validator : public QValidator {
  Q_OBJECT

 public:
  Cp932Validator(int maxBytes, QObject* parent);

  // Invalid input is refused by the field; valid input may come back as it will arrive.
  State validate(QString& input, int& position) const override;

 private:
  const int maxBytes_;
};

}  // namespace pentaro

#endif  // PENTARO_APP_CP932_VALIDATOR_H_
