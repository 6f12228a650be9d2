// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "client/participant_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/cp932.h"
#include "text/texts.h"
#include "ui/headless_view.h"

namespace pentaro {
namespace {

std::string sjis(std::string_view utf8) { return cp932::fromUtf8(utf8); }

// The list box from the top as "item text", in UTF-8.
std::vector<std::string> listBox(const HeadlessView& view) {
  std::vector<std::string> out;
  const std::vector<std::string> lines = view.listLines();
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    out.push_back(std::to_string(view.listItem(i)) + " " + cp932::toUtf8(lines[i]));
  }
  return out;
}

// Every identity from -1 to 9 whose entry holds something, as "id name opponent".
std::vector<std::string> entries(const ParticipantList& list) {
  std::vector<std::string> out;
  for (int id = -1; id < 10; ++id) {
    if (list.nameOf(id).empty() && list.opponentOf(id) == -1) continue;
    out.push_back(std::to_string(id) + " " + cp932::toUtf8(list.nameOf(id)) + " " +
                  std::to_string(list.opponentOf(id)));
  }
  return out;
}

struct ListCase {
  const char* what;
  std::vector<const char*> lines;  // from the server, UTF-8 here, applied as CP932
  std::vector<std::string> box;
  std::vector<std::string> entries;
};

const std::vector<ListCase> kListCases = {
    {"sorted with letters folded; equal texts keep the order they came in",
     {"ADD\t1\tcarol", "ADD\t2\tAlice", "ADD\t3\tbob", "ADD\t4\tBOB", "ADD\t5\tbob", "ADD\t6\tあ",
      "ADD\t7\tdave"},
     {"2 Alice", "3 bob", "4 BOB", "5 bob", "1 carol", "7 dave", "6 あ"},
     {"1 carol -1", "2 Alice -1", "3 bob -1", "4 BOB -1", "5 bob -1", "6 あ -1", "7 dave -1"}},
    {"two ADD for one id: two lines, the later name",
     {"ADD\t4\tzoe", "ADD\t1\tbob", "ADD\t4\tanna"},
     {"4 anna", "1 bob", "4 zoe"},
     {"1 bob -1", "4 anna -1"}},
    {"an ADD forgets the entry's match, not the partner's",
     {"ADD\t0\talice", "ADD\t1\tbob", "STLIST\tS\t0\t1", "ADD\t0\talma"},
     {"0 alice ★ bob", "0 alma", "1 bob ★ alice"},
     {"0 alma -1", "1 bob 0"}},
    {"DEL removes the upper line of its id and the entry",
     {"ADD\t3\tmia", "ADD\t2\tkai", "ADD\t3\tben", "DEL\t3", "DEL\t7"},
     {"2 kai", "3 mia"},
     {"2 kai -1"}},
    {"STLIST S shows each side with the other",
     {"ADD\t0\talice", "ADD\t1\tbob", "ADD\t2\tcarol", "STLIST\tS\t2\t0"},
     {"0 alice ★ carol", "1 bob", "2 carol ★ alice"},
     {"0 alice 2", "1 bob -1", "2 carol 0"}},
    {"CP932 names sort by their bytes (花子 89 D4 before 太郎 91 BE)",
     {"ADD\t0\t太郎", "ADD\t1\t花子", "STLIST\tS\t0\t1"},
     {"1 花子 ★ 太郎", "0 太郎 ★ 花子"},
     {"0 太郎 1", "1 花子 0"}},
    {"STLIST E restores the bare names",
     {"ADD\t0\talice", "ADD\t1\tbob", "STLIST\tS\t0\t1", "STLIST\tE\t1\t0"},
     {"0 alice", "1 bob"},
     {"0 alice -1", "1 bob -1"}},
    {"STLIST E clears whoever each side names",
     {"ADD\t0\talice", "ADD\t1\tbob", "ADD\t2\tcarol", "STLIST\tS\t0\t1", "STLIST\tS\t0\t2",
      "STLIST\tE\t0\t1"},
     {"0 alice", "1 bob", "2 carol"},
     {"0 alice -1", "1 bob -1", "2 carol -1"}},
    {"STLIST E clears the opponent even when it names someone else",
     {"ADD\t0\talice", "ADD\t1\tbob", "ADD\t2\tcarol", "ADD\t3\tdave", "STLIST\tS\t0\t2",
      "STLIST\tS\t2\t3", "STLIST\tE\t0\t1"},
     {"0 alice", "1 bob", "2 carol", "3 dave ★ carol"},
     {"0 alice -1", "1 bob -1", "2 carol -1", "3 dave 2"}},
    {"STLIST E for players in no match changes nothing and makes no entry",
     {"ADD\t0\talice", "ADD\t1\tbob", "ADD\t2\tcarol", "STLIST\tS\t1\t2", "STLIST\tE\t0\t9",
      "STLIST\tE\t8\t-1"},
     {"0 alice", "1 bob ★ carol", "2 carol ★ bob"},
     {"0 alice -1", "1 bob 2", "2 carol 1"}},
    {"DEL of a player in a match shows the partner as a plain line at once",
     {"ADD\t0\talice", "ADD\t1\tbob", "STLIST\tS\t0\t1", "DEL\t0"},
     {"1 bob"},
     {"1 bob -1"}},
    {"DEL of a player whose partner plays somebody else leaves that match alone",
     {"ADD\t0\talice", "ADD\t1\tbob", "ADD\t2\tcai", "STLIST\tS\t0\t1", "STLIST\tS\t1\t2",
      "DEL\t0"},
     {"1 bob ★ cai", "2 cai ★ bob"},
     {"1 bob 2", "2 cai 1"}},
    {"DEL frees everybody whose line names the departed",
     {"ADD\t0\talice", "ADD\t1\tbob", "ADD\t2\tcai", "STLIST\tS\t1\t0", "STLIST\tS\t1\t2",
      "DEL\t1"},
     {"0 alice", "2 cai"},
     {"0 alice -1", "2 cai -1"}},
    {"a player without an entry gets a line starting with the star",
     {"ADD\t0\talice", "STLIST\tS\t5\t0"},
     {"5  ★ alice", "0 alice ★ "},
     {"0 alice 5", "5  0"}},
    {"STLIST looks at the first letter of its kind; numbers are read leniently",
     {"ADD\t0\talice", "ADD\t1\tbob", "STLIST\tStart\t 0\t1xyz"},
     {"0 alice ★ bob", "1 bob ★ alice"},
     {"0 alice 1", "1 bob 0"}},
    {"other lines and other kinds change nothing",
     {"ADD\t0\talice", "STLIST\tX\t0\t1", "STLIST\t\t0\t1", "STLIST", "add\t5\teve",
      "CHAT\t1\tbob\thello", "MSG\tADD"},
     {"0 alice"},
     {"0 alice -1"}},
};

TEST(ClientParticipantList, ServerLinesShapeTheListBoxAndTheEntries) {
  for (const ListCase& c : kListCases) {
    HeadlessView window;
    ParticipantList list;
    list.attach(&window);
    for (const char* line : c.lines) applyRosterLine(list, MessageFields(sjis(line)));
    EXPECT_EQ(listBox(window), c.box) << c.what;
    EXPECT_EQ(entries(list), c.entries) << c.what;
  }
  // The star between the names is CP932 (81 9A), like everything in the list box.
  EXPECT_EQ(texts().matchStar, "\x20\x81\x9A\x20");
}

TEST(ClientParticipantList, OnlyAddDelAndStlistAreTaken) {
  ParticipantList list;
  for (const char* line : {"ADD\t1\ta", "DEL\t1", "STLIST\tS\t1\t2", "STLIST\tQ"}) {
    EXPECT_TRUE(applyRosterLine(list, MessageFields(line))) << line;
  }
  for (const char* line : {"add\t1\ta", "CHAT\t1\ta\tb", "MSG\tx", "STARTVS\t0", "", "ADDX\t1"}) {
    EXPECT_FALSE(applyRosterLine(list, MessageFields(line))) << line;
  }
}

class ClientParticipantListBox : public ::testing::Test {
 protected:
  void SetUp() override { list_.attach(&window_); }
  void apply(std::string_view line) { applyRosterLine(list_, MessageFields(line)); }

  HeadlessView window_;
  ParticipantList list_;
};

TEST_F(ClientParticipantListBox, SelectionIsRestoredByPosition) {
  apply("ADD\t0\talice");
  apply("ADD\t1\tbob");
  apply("ADD\t2\tcarol");
  EXPECT_EQ(window_.selectedId(), -1);
  window_.select(1);  // bob
  apply("STLIST\tS\t1\t2");
  EXPECT_EQ(window_.selectedId(), 1);
  window_.select(2);  // carol
  apply("STLIST\tE\t1\t2");
  EXPECT_EQ(window_.selectedId(), 2);
  window_.select(-1);
  apply("STLIST\tS\t0\t1");
  EXPECT_EQ(window_.selectedId(), -1);
}

TEST_F(ClientParticipantListBox, TheSelectionStaysWithItsParticipantWhenTheLineSortsElsewhere) {
  apply("ADD\t1\tbob");
  apply("ADD\t2\tbob");
  apply("ADD\t3\tzed");
  window_.select(0);  // the first bob, id 1
  // Its rebuilt line "bob ★ zed" sorts after the other "bob": the highlight goes along, so that
  // "対戦" does not go to the other bob.
  apply("STLIST\tS\t1\t3");
  EXPECT_EQ(listBox(window_), (std::vector<std::string>{"2 bob", "1 bob ★ zed", "3 zed ★ bob"}));
  EXPECT_EQ(window_.selectedId(), 1);
}

TEST(ClientParticipantListDetached, KeepsEntriesAndLinesUntilAListBoxDrawsThem) {
  ParticipantList list;
  list.addParticipant(0, "alice");
  list.startedMatch(0, 1);
  EXPECT_EQ(list.nameOf(0), "alice");
  EXPECT_EQ(list.opponentOf(1), 0);
  EXPECT_EQ(list.rosterLines().size(), 2u);
  HeadlessView window;
  list.attach(&window);
  EXPECT_EQ(listBox(window), (std::vector<std::string>{"1  ★ alice", "0 alice ★ "}));
}

TEST_F(ClientParticipantListBox, RosterLinesFollowTheListBoxAndClearAllEmptiesIt) {
  apply("ADD\t0\ttaro");
  apply("ADD\t1\tHanako");
  apply("ADD\t3\tjiro");
  apply("ADD\t3\tjiro2");
  apply("DEL\t3");  // leaves the line "jiro2" without an entry
  apply("STLIST\tS\t0\t1");
  std::vector<std::string> roster;
  for (const RosterLine& line : list_.rosterLines()) {
    roster.push_back(std::to_string(line.id) + " " + line.name + " " +
                     std::to_string(line.opponent));
  }
  EXPECT_EQ(roster, (std::vector<std::string>{"1 Hanako 0", "3  -1", "0 taro 1"}));
  list_.clearAll();
  EXPECT_TRUE(window_.listLines().empty());
  EXPECT_TRUE(list_.rosterLines().empty());
  EXPECT_EQ(list_.nameOf(0), "");
}

}  // namespace
}  // namespace pentaro
