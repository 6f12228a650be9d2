#include "ui/list_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/hex_bytes.h"
#include "ui/headless_window.h"

namespace pentaro {
namespace {

using testing::hexBytes;

bool sameRank(const std::string& a, const std::string& b) {
  return !listLess(a, b) && !listLess(b, a);
}

TEST(UiListOrder, AsciiLettersIgnoreCaseAndBytesCompareUnsigned) {
  EXPECT_TRUE(sameRank("Taro2", "tARO2"));
  EXPECT_TRUE(listLess("apple", "Banana"));
  EXPECT_TRUE(listLess("Apple", "banana"));
  EXPECT_TRUE(listLess("bob", "bobby"));
  // Double-byte characters and half-width katakana sort after ASCII.
  EXPECT_TRUE(listLess("zed", hexBytes("82 A0")));
  EXPECT_FALSE(listLess(hexBytes("82 A0"), "zed"));
  EXPECT_TRUE(listLess(hexBytes("82 A0"), hexBytes("B1")));
}

TEST(UiListOrder, SecondByteOfADoubleByteCharacterIsNeverFolded) {
  // "ア" is 83 41 and "ッ" is 83 61: second bytes that look like "A" and "a".
  EXPECT_TRUE(listLess(hexBytes("83 41"), hexBytes("83 61")));
  EXPECT_FALSE(listLess(hexBytes("83 61"), hexBytes("83 41")));
  // "ャ" is 83 83, its second byte a lead byte too: the letter after it is folded.
  EXPECT_TRUE(sameRank(hexBytes("83 83 83 83") + "q", hexBytes("83 83 83 83") + "Q"));
}

TEST(UiListBox, SortedInsertKeepsEqualTextsInArrivalOrder) {
  HeadlessWindow window;
  EXPECT_EQ(window.listAdd("carol", 1), 0);
  EXPECT_EQ(window.listAdd("Alice", 2), 0);
  EXPECT_EQ(window.listAdd("bob", 3), 1);
  EXPECT_EQ(window.listAdd("BOB", 4), 2);
  EXPECT_EQ(window.listAdd("bob", 5), 3);
  EXPECT_EQ(window.listAdd(hexBytes("82 A0"), 6), 5);
  EXPECT_EQ(window.listAdd("dave", 7), 5);
  std::vector<int> items;
  for (int i = 0; i < window.listCount(); ++i) items.push_back(window.listItem(i));
  EXPECT_EQ(items, (std::vector<int>{2, 3, 4, 5, 1, 7, 6}));
  EXPECT_EQ(window.listItem(7), -1);
}

TEST(UiListBox, SelectionFollowsItsLine) {
  HeadlessWindow window;
  window.listAdd("bob", 1);
  window.listAdd("dave", 2);
  window.listSelect(0);
  window.listAdd("alice", 3);  // above
  window.listAdd("bob", 4);    // equal text: below
  EXPECT_EQ(window.listItem(window.listSelection()), 1);
  window.listDelete(0);
  EXPECT_EQ(window.listItem(window.listSelection()), 1);
  window.listDelete(window.listSelection());
  EXPECT_EQ(window.listSelection(), -1);
  window.listSelect(5);
  EXPECT_EQ(window.listSelection(), -1);
}

}  // namespace
}  // namespace pentaro
