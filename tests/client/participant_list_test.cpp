#include "client/participant_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "text/cp932.h"
#include "text/texts.h"
#include "ui/headless_window.h"

namespace pentaro {
namespace {

// " ★ " spelled out in CP932: the star is 81 9A.
const std::string kStar = "\x20\x81\x9A\x20";

std::string sjis(std::string_view utf8) { return cp932::fromUtf8(utf8); }

// A participant list on a headless list box, fed with the server's lines as a client gets them.
class ClientParticipantList : public ::testing::Test {
 protected:
  void SetUp() override { list_.attach(&window_); }

  void apply(std::string_view line) { applyRosterLine(list_, MessageFields(line)); }

  std::vector<std::string> lines() const { return window_.listLines(); }

  std::vector<int> items() const {
    std::vector<int> out;
    for (int i = 0; i < window_.listCount(); ++i) out.push_back(window_.listItem(i));
    return out;
  }

  // alice 0, bob 1, carol 2.
  void addThree() {
    apply("ADD\t0\talice");
    apply("ADD\t1\tbob");
    apply("ADD\t2\tcarol");
  }

  HeadlessWindow window_;
  ParticipantList list_;
};

TEST_F(ClientParticipantList, TheStarIsCp932) { EXPECT_EQ(texts().matchStar, kStar); }

TEST_F(ClientParticipantList, TwoAddsForOneIdLeaveTwoLinesAndTheLaterName) {
  apply("ADD\t4\tzoe");
  apply("ADD\t1\tbob");
  apply("ADD\t4\tanna");
  EXPECT_EQ(lines(), (std::vector<std::string>{"anna", "bob", "zoe"}));
  EXPECT_EQ(items(), (std::vector<int>{4, 1, 4}));
  EXPECT_EQ(list_.nameOf(4), "anna");
  EXPECT_EQ(list_.opponentOf(4), -1);
}

TEST_F(ClientParticipantList, AnAddReplacesTheEntryAndForgetsItsMatch) {
  addThree();
  apply("STLIST\tS\t0\t1");
  apply("ADD\t0\talma");
  EXPECT_EQ(list_.nameOf(0), "alma");
  EXPECT_EQ(list_.opponentOf(0), -1);
  EXPECT_EQ(list_.opponentOf(1), 0);  // the partner's entry is not touched
}

TEST_F(ClientParticipantList, DelRemovesTheUpperLineOfAnIdAndItsEntry) {
  apply("ADD\t3\tmia");
  apply("ADD\t2\tkai");
  apply("ADD\t3\tben");
  ASSERT_EQ(lines(), (std::vector<std::string>{"ben", "kai", "mia"}));
  apply("DEL\t3");
  EXPECT_EQ(lines(), (std::vector<std::string>{"kai", "mia"}));
  EXPECT_EQ(items(), (std::vector<int>{2, 3}));
  EXPECT_EQ(list_.nameOf(3), "");
  EXPECT_EQ(list_.opponentOf(3), -1);
  // The line left behind has no entry any more, and the roster says so.
  const std::vector<RosterLine> roster = list_.rosterLines();
  ASSERT_EQ(roster.size(), 2u);
  EXPECT_EQ(roster[1].id, 3);
  EXPECT_EQ(roster[1].name, "");

  apply("DEL\t7");  // nobody: nothing happens
  EXPECT_EQ(lines(), (std::vector<std::string>{"kai", "mia"}));
}

TEST_F(ClientParticipantList, StartedMatchShowsEachSideWithTheOther) {
  addThree();
  apply("STLIST\tS\t2\t0");
  EXPECT_EQ(lines(), (std::vector<std::string>{"alice" + kStar + "carol", "bob",
                                               "carol" + kStar + "alice"}));
  EXPECT_EQ(items(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(list_.opponentOf(2), 0);
  EXPECT_EQ(list_.opponentOf(0), 2);
  EXPECT_EQ(list_.opponentOf(1), -1);
}

TEST_F(ClientParticipantList, Cp932NamesKeepTheirBytesInTheLines) {
  const std::string taro = sjis("太郎"), hanako = sjis("花子");
  apply("ADD\t0\t" + taro);
  apply("ADD\t1\t" + hanako);
  apply("STLIST\tS\t0\t1");
  // 太郎 is 91 BE 98 59, 花子 is 89 D4 8E 71: 花子 sorts first.
  EXPECT_EQ(lines(), (std::vector<std::string>{hanako + kStar + taro, taro + kStar + hanako}));
}

TEST_F(ClientParticipantList, EndedMatchRestoresBareNames) {
  addThree();
  apply("STLIST\tS\t0\t1");
  apply("STLIST\tE\t1\t0");
  EXPECT_EQ(lines(), (std::vector<std::string>{"alice", "bob", "carol"}));
  EXPECT_EQ(items(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(list_.opponentOf(0), -1);
  EXPECT_EQ(list_.opponentOf(1), -1);
}

TEST_F(ClientParticipantList, EndedMatchClearsWhoeverEachSideNames) {
  addThree();
  apply("STLIST\tS\t0\t1");
  apply("STLIST\tS\t0\t2");  // alice now names carol; bob still names alice
  ASSERT_EQ(lines(), (std::vector<std::string>{"alice" + kStar + "carol", "bob" + kStar + "alice",
                                               "carol" + kStar + "alice"}));
  apply("STLIST\tE\t0\t1");
  EXPECT_EQ(lines(), (std::vector<std::string>{"alice", "bob", "carol"}));
  for (int id : {0, 1, 2}) EXPECT_EQ(list_.opponentOf(id), -1) << id;
}

TEST_F(ClientParticipantList, EndedMatchClearsTheOpponentEvenIfItNamesSomeoneElse) {
  apply("ADD\t0\talice");
  apply("ADD\t1\tbob");
  apply("ADD\t2\tcarol");
  apply("ADD\t3\tdave");
  apply("STLIST\tS\t2\t3");
  apply("STLIST\tS\t0\t2");  // carol now names alice, dave still names carol
  apply("STLIST\tE\t0\t1");  // alice's opponent carol is cleared, bob has none
  EXPECT_EQ(lines(), (std::vector<std::string>{"alice", "bob", "carol", "dave" + kStar + "carol"}));
  EXPECT_EQ(list_.opponentOf(2), -1);
  EXPECT_EQ(list_.opponentOf(3), 2);
}

TEST_F(ClientParticipantList, EndedMatchForPlayersInNoMatchChangesNothing) {
  addThree();
  apply("ADD\t3\tdave");
  apply("STLIST\tS\t2\t3");
  window_.listSelect(1);
  const std::vector<std::string> before = lines();
  apply("STLIST\tE\t0\t1");
  apply("STLIST\tE\t8\t-1");  // no entries: none is made either
  EXPECT_EQ(lines(), before);
  EXPECT_EQ(window_.listSelection(), 1);
  EXPECT_EQ(list_.opponentOf(2), 3);
  EXPECT_EQ(list_.rosterLines().size(), 4u);
}

TEST_F(ClientParticipantList, DelOfAPlayerInAMatchLeavesThePartnersLine) {
  addThree();
  apply("STLIST\tS\t0\t1");
  apply("DEL\t0");
  EXPECT_EQ(lines(), (std::vector<std::string>{"bob" + kStar + "alice", "carol"}));
  EXPECT_EQ(list_.opponentOf(1), 0);
  // A later end of that match rebuilds the partner's line.
  apply("STLIST\tE\t1\t0");
  EXPECT_EQ(lines(), (std::vector<std::string>{"bob", "carol"}));
}

TEST_F(ClientParticipantList, AMatchWithAnUnknownPlayerMakesALineStartingWithTheStar) {
  apply("ADD\t0\talice");
  apply("STLIST\tS\t5\t0");
  EXPECT_EQ(lines(), (std::vector<std::string>{kStar + "alice", "alice" + kStar}));
  EXPECT_EQ(items(), (std::vector<int>{5, 0}));
  EXPECT_EQ(list_.nameOf(5), "");
  EXPECT_EQ(list_.opponentOf(5), 0);
}

TEST_F(ClientParticipantList, SelectionIsRestoredByPosition) {
  addThree();
  window_.listSelect(1);  // bob
  apply("STLIST\tS\t1\t2");
  EXPECT_EQ(list_.selectedId(), 1);
  window_.listSelect(2);  // carol
  apply("STLIST\tE\t1\t2");
  EXPECT_EQ(list_.selectedId(), 2);
}

TEST_F(ClientParticipantList, RestoredSelectionCanLandOnAnotherParticipant) {
  apply("ADD\t1\tbob");
  apply("ADD\t2\tbob");
  apply("ADD\t3\tzed");
  window_.listSelect(0);  // the first bob, id 1
  ASSERT_EQ(list_.selectedId(), 1);
  // Its rebuilt line "bob ★ zed" sorts after the other "bob": the highlight stays on line 0.
  apply("STLIST\tS\t1\t3");
  EXPECT_EQ(lines(),
            (std::vector<std::string>{"bob", "bob" + kStar + "zed", "zed" + kStar + "bob"}));
  EXPECT_EQ(window_.listSelection(), 0);
  EXPECT_EQ(list_.selectedId(), 2);
}

TEST_F(ClientParticipantList, SelectedIdIsMinusOneWithoutASelectionOrAListBox) {
  addThree();
  EXPECT_EQ(list_.selectedId(), -1);
  window_.listSelect(2);
  EXPECT_EQ(list_.selectedId(), 2);
  window_.listSelect(-1);
  EXPECT_EQ(list_.selectedId(), -1);

  ParticipantList detached;
  detached.addParticipant(0, "alice");
  EXPECT_EQ(detached.selectedId(), -1);
  EXPECT_EQ(detached.nameOf(0), "alice");  // the entries are kept without a list box
  EXPECT_TRUE(detached.rosterLines().empty());
}

TEST_F(ClientParticipantList, RosterLinesFollowTheListBoxOrder) {
  apply("ADD\t0\ttaro");
  apply("ADD\t1\tHanako");
  apply("ADD\t3\tjiro");
  apply("STLIST\tS\t0\t1");
  const std::vector<RosterLine> roster = list_.rosterLines();
  ASSERT_EQ(roster.size(), 3u);
  EXPECT_EQ(roster[0].id, 1);
  EXPECT_EQ(roster[0].name, "Hanako");
  EXPECT_EQ(roster[0].opponent, 0);
  EXPECT_EQ(roster[1].id, 3);
  EXPECT_EQ(roster[1].name, "jiro");
  EXPECT_EQ(roster[1].opponent, -1);
  EXPECT_EQ(roster[2].id, 0);
  EXPECT_EQ(roster[2].name, "taro");
  EXPECT_EQ(roster[2].opponent, 1);
}

TEST_F(ClientParticipantList, ClearAllEmptiesTheLinesAndTheEntries) {
  addThree();
  apply("STLIST\tS\t0\t1");
  list_.clearAll();
  EXPECT_TRUE(lines().empty());
  EXPECT_TRUE(list_.rosterLines().empty());
  EXPECT_EQ(list_.nameOf(0), "");
  EXPECT_EQ(list_.opponentOf(1), -1);
}

TEST_F(ClientParticipantList, OnlyRosterLinesChangeTheList) {
  addThree();
  const std::vector<std::string> before = lines();
  EXPECT_FALSE(applyRosterLine(list_, MessageFields("CHAT\t1\tbob\thello")));
  EXPECT_FALSE(applyRosterLine(list_, MessageFields("MSG\tADD")));
  EXPECT_FALSE(applyRosterLine(list_, MessageFields("add\t5\teve")));  // case-sensitive
  EXPECT_FALSE(applyRosterLine(list_, MessageFields("STARTVS\t0\t\t\t\t\t")));
  EXPECT_FALSE(applyRosterLine(list_, MessageFields("")));
  apply("STLIST\tX\t0\t1");
  apply("STLIST\t\t0\t1");
  apply("STLIST");
  EXPECT_EQ(lines(), before);
  EXPECT_EQ(list_.opponentOf(0), -1);
  EXPECT_EQ(list_.nameOf(5), "");
}

TEST_F(ClientParticipantList, StlistLooksAtTheFirstLetterOfItsKindOnly) {
  addThree();
  apply("STLIST\tStart\t 0\t1xyz");  // numbers are read leniently
  EXPECT_EQ(list_.opponentOf(0), 1);
  EXPECT_EQ(list_.opponentOf(1), 0);
  apply("STLIST\tEnd\t0\t1");
  EXPECT_EQ(list_.opponentOf(0), -1);
  EXPECT_EQ(lines(), (std::vector<std::string>{"alice", "bob", "carol"}));
}

std::string describe(const std::vector<RosterLine>& roster) {
  std::string out;
  for (const RosterLine& line : roster) {
    out += std::to_string(line.id) + ":" + line.name + ":" + std::to_string(line.opponent) + ";";
  }
  return out;
}

// The lobby server reads the roster from its slot workers while the owner changes the list. Every
// roster read must be one of the states between two operations, never a list half changed.
TEST(ClientParticipantListThreads, RosterReadsSeeOnlyWholeStates) {
  const std::vector<std::function<void(ParticipantList&)>> operations = {
      [](ParticipantList& l) { l.addParticipant(0, "alice"); },
      [](ParticipantList& l) { l.addParticipant(1, "bob"); },
      [](ParticipantList& l) { l.addParticipant(2, "carol"); },
      [](ParticipantList& l) { l.startedMatch(0, 2); },
      [](ParticipantList& l) { l.addParticipant(3, "dave"); },
      [](ParticipantList& l) { l.removeParticipant(1); },
      [](ParticipantList& l) { l.endedMatch(2, 0); },
      [](ParticipantList& l) { l.startedMatch(3, 0); },
      [](ParticipantList& l) { l.removeParticipant(0); },
      [](ParticipantList& l) { l.clearAll(); },
  };

  std::set<std::string> wholeStates;
  {
    HeadlessWindow window;
    ParticipantList list;
    list.attach(&window);
    wholeStates.insert(describe(list.rosterLines()));
    for (const auto& operation : operations) {
      operation(list);
      wholeStates.insert(describe(list.rosterLines()));
    }
  }

  HeadlessWindow window;
  ParticipantList list;
  list.attach(&window);
  std::atomic<bool> done{false};
  std::atomic<int> reads{0};
  std::vector<std::string> strays;
  std::thread reader([&] {
    while (!done.load()) {
      const std::string state = describe(list.rosterLines());
      if (wholeStates.count(state) == 0 && strays.size() < 5) strays.push_back(state);
      reads.fetch_add(1);
    }
  });
  // Changes go on until the reader has seen plenty of them (bounded, should it never start).
  constexpr int kRounds = 300;
  constexpr int kMinReads = 1000;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (int round = 0; round < kRounds || reads.load() < kMinReads; ++round) {
    if (std::chrono::steady_clock::now() > deadline) break;
    for (const auto& operation : operations) operation(list);
  }
  done.store(true);
  reader.join();
  EXPECT_TRUE(strays.empty()) << strays.front();
  EXPECT_GE(reads.load(), kMinReads);
}

}  // namespace
}  // namespace pentaro
