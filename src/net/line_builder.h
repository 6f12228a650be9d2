// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Composes one line: the command word, then every field after a TAB; numbers in the "%d" form.
// The line writer adds CR LF.
#ifndef PENTARO_NET_LINE_BUILDER_H_
#define PENTARO_NET_LINE_BUILDER_H_

#include <string>
#include <string_view>

namespace pentaro {

class LineBuilder {
 public:
  explicit LineBuilder(std::string_view command) : line_(command) {}

  LineBuilder& text(std::string_view field) {
    line_ += '\t';
    line_ += field;
    return *this;
  }
  LineBuilder& number(int value) {
    line_ += '\t';
    line_ += std::to_string(value);
    return *this;
  }

  const std::string& line() const { return line_; }
  operator const std::string&() const { return line_; }

 private:
  std::string line_;
};

}  // namespace pentaro

#endif  // PENTARO_NET_LINE_BUILDER_H_
