// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings file: byte-exact records, files cut short or corrupted, and a save that never
// loses the previous file.
#include "shell/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "support/test_player.h"

namespace pentaro {
namespace {

using testing::sjis;

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() {
    char pattern[] = "/tmp/pentaro-settings-XXXXXX";
    dir_ = mkdtemp(pattern);
    path_ = dir_ + "/qm.ini";
  }
  ~SettingsFileTest() override {
    std::remove(path_.c_str());
    std::remove((path_ + ".tmp").c_str());
    rmdir(dir_.c_str());
  }

  void writeFile(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string readFile() {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Loads and returns (name, address), empty where nothing loaded.
  std::pair<std::string, std::string> load() {
    const SettingsFile::Records records =
        SettingsFile(path_).load().value_or(SettingsFile::Records{});
    return {records.name.value_or(""), records.address.value_or("")};
  }

  std::string dir_, path_;
};

TEST_F(SettingsFileTest, SavesTheDocumentedEighteenBytesAndLoadsThemBack) {
  ASSERT_TRUE(SettingsFile(path_).save("abc", "localhost"));
  EXPECT_EQ(readFile(), std::string("\x03\x00"
                                    "abc\x00"
                                    "\x09\x00"
                                    "localhost\x00",
                                    18));
  EXPECT_EQ(load(), std::make_pair(std::string("abc"), std::string("localhost")));
}

TEST_F(SettingsFileTest, EmptyFieldsAreSixZeroBytes) {
  ASSERT_TRUE(SettingsFile(path_).save("", ""));
  EXPECT_EQ(readFile(), std::string(6, '\0'));
  EXPECT_EQ(load(), std::make_pair(std::string(), std::string()));
}

TEST_F(SettingsFileTest, JapaneseTextIsStoredAsCp932AndCutAt78Bytes) {
  // 40 two-byte characters: 80 bytes, of which 78 (39 characters) fit.
  std::string longName;
  for (int i = 0; i < 40; ++i) longName += sjis("あ");
  ASSERT_TRUE(SettingsFile(path_).save(sjis("名無し"), longName));
  const std::string bytes = readFile();
  ASSERT_EQ(bytes.size(), 6u + 6u + 78u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\x06\x00", 2));
  EXPECT_EQ(bytes.substr(2, 6), sjis("名無し"));
  EXPECT_EQ(bytes.substr(9, 2), std::string("\x4e\x00", 2));
  EXPECT_EQ(load().second, longName.substr(0, 78));
}

TEST_F(SettingsFileTest, RecordsCutShortLoadOnlyWhatIsWhole) {
  const auto nothing = std::make_pair(std::string(), std::string());

  // No file, an empty file, a file of one byte.
  EXPECT_EQ(load(), nothing);
  writeFile("");
  EXPECT_EQ(load(), nothing);
  writeFile(std::string("\x03", 1));
  EXPECT_EQ(load(), nothing);
  // The first record cut short.
  writeFile(
      std::string("\x03\x00"
                  "ab",
                  4));
  EXPECT_EQ(load(), nothing);
  // Exactly one record: the name only.
  writeFile(
      std::string("\x03\x00"
                  "abc\x00",
                  6));
  EXPECT_EQ(load(), std::make_pair(std::string("abc"), std::string()));
  // The second record cut short (its zero byte missing).
  writeFile(
      std::string("\x03\x00"
                  "abc\x00"
                  "\x02\x00"
                  "xy",
                  10));
  EXPECT_EQ(load(), std::make_pair(std::string("abc"), std::string()));
}

TEST_F(SettingsFileTest, LengthsThatDoNotFitTheBufferLoadNothingOfTheRecord) {
  // 79 bytes of text and the zero byte fill the 80-byte buffer exactly.
  std::string fits = std::string("\x4f\x00", 2) + std::string(79, 'n') + '\0';
  writeFile(fits + std::string("\x01\x00"
                               "a\x00",
                               4));
  EXPECT_EQ(load(), std::make_pair(std::string(79, 'n'), std::string("a")));

  // 80 bytes of text would overrun it; a negative length is nonsense. Neither record loads.
  writeFile(std::string("\x50\x00", 2) + std::string(81, 'n') +
            std::string("\x01\x00"
                        "a\x00",
                        4));
  EXPECT_EQ(load(), std::make_pair(std::string(), std::string()));
  writeFile(
      std::string("\xff\xff"
                  "abc",
                  5));
  EXPECT_EQ(load(), std::make_pair(std::string(), std::string()));
  writeFile(std::string("\x00\x80", 2) + std::string(200, 'x'));
  EXPECT_EQ(load(), std::make_pair(std::string(), std::string()));
}

TEST_F(SettingsFileTest, ARecordIsReadByItsLengthNeverByAZeroByteItMayLack) {
  const std::string n80(80, 'n');
  const struct {
    std::string file, name, address;
  } cases[] = {
      // 79 bytes of text and no zero byte anywhere: the text is still the record's 79 bytes.
      {std::string("\x4f\x00", 2) + n80, std::string(79, 'n'), ""},
      {std::string("\x01\x00"
                   "a\x00"
                   "\x4f\x00",
                   6) +
           n80,
       "a", std::string(79, 'n')},
      // A closing byte that is not zero does not run the text on into the next record.
      {std::string("\x03\x00"
                   "abcX"
                   "\x01\x00"
                   "zY",
                   10),
       "abc", "z"},
      // A zero byte inside the text ends it; the record still takes its whole length.
      {std::string("\x03\x00"
                   "a\x00"
                   "c\x00"
                   "\x02\x00"
                   "xy\x00",
                   11),
       "a", "xy"},
  };
  for (const auto& c : cases) {
    writeFile(c.file);
    EXPECT_EQ(load(), std::make_pair(c.name, c.address)) << c.file.size() << " bytes";
  }
}

TEST_F(SettingsFileTest, AFailedSaveKeepsTheOldFile) {
  writeFile(
      std::string("\x03\x00"
                  "old\x00\x00\x00\x00",
                  9));
  // The temporary file cannot be made: a directory stands in its way.
  ASSERT_EQ(mkdir((path_ + ".tmp").c_str(), 0700), 0);
  EXPECT_FALSE(SettingsFile(path_).save("new", ""));
  EXPECT_EQ(load().first, "old");
  rmdir((path_ + ".tmp").c_str());
  EXPECT_TRUE(SettingsFile(path_).save("new", ""));
  EXPECT_EQ(load().first, "new");
}

}  // namespace
}  // namespace pentaro
