// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings file "qm.ini": the player's name and the server address, each as a 16-bit
// little-endian byte length, the CP932 bytes and a zero byte. Read once when the program starts,
// written once at shut-down (to a temporary file renamed over the old one). UI thread.
#ifndef PENTARO_SHELL_SETTINGS_FILE_H_
#define PENTARO_SHELL_SETTINGS_FILE_H_

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace pentaro {

class SettingsFile {
 public:
  static constexpr int kBufferBytes = 80;  // a record's text and its zero byte must fit

  // The texts of the records that are whole and fit the buffer; the address only after a name.
  struct Records {
    std::optional<std::string> name;
    std::optional<std::string> address;
  };

  explicit SettingsFile(std::string path) : path_(std::move(path)) {}

  // The file's format, apart from the file: what load() takes from the bytes, and what save()
  // writes for two texts.
  static Records read(std::istream& in);
  static void write(std::ostream& out, std::string_view name, std::string_view address);

  // The records as far as the file allows; nothing when there is no file to open.
  std::optional<Records> load() const;
  // Writes both texts, at most 78 bytes each. False when the file could not be written.
  bool save(std::string_view name, std::string_view address) const;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace pentaro

#endif  // PENTARO_SHELL_SETTINGS_FILE_H_
