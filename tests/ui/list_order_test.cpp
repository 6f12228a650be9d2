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

TEST(UiListOrder, AsciiLettersIgnoreCase) {
  EXPECT_TRUE(sameRank("abc", "ABC"));
  EXPECT_TRUE(sameRank("Taro2", "tARO2"));
  EXPECT_TRUE(listLess("apple", "Banana"));
  EXPECT_TRUE(listLess("Apple", "banana"));
  EXPECT_FALSE(listLess("banana", "Apple"));
  EXPECT_TRUE(listLess("bob", "bobby"));
  EXPECT_TRUE(listLess("", "a"));
  // Digits and other bytes keep their byte order.
  EXPECT_TRUE(listLess("1", "9"));
  EXPECT_FALSE(sameRank("a1", "a!"));
}

TEST(UiListOrder, Cp932BytesCompareUnsigned) {
  // Double-byte characters (lead bytes 0x81 and up) and half-width katakana sort after ASCII.
  const std::string hiragana = hexBytes("82 A0");  // あ
  const std::string katakana = hexBytes("B1");     // ｱ
  EXPECT_TRUE(listLess("zed", hiragana));
  EXPECT_FALSE(listLess(hiragana, "zed"));
  EXPECT_TRUE(listLess(hiragana, katakana));
  EXPECT_TRUE(listLess(hexBytes("82 A0"), hexBytes("82 A2")));
}

TEST(UiListOrder, SecondByteOfADoubleByteCharacterIsNeverFolded) {
  // 83 41 is "ア" and 83 61 is "ッ"; their second bytes look like "A" and "a".
  const std::string a = hexBytes("83 41"), small = hexBytes("83 61");
  EXPECT_TRUE(listLess(a, small));
  EXPECT_FALSE(listLess(small, a));
  EXPECT_FALSE(sameRank("x" + a, "X" + small));
  // "ャ" is 83 83: its second byte is a lead byte too; the letter after it is a character of its
  // own and is folded.
  const std::string ya = hexBytes("83 83");
  EXPECT_TRUE(sameRank(ya + "a", ya + "A"));
  EXPECT_TRUE(sameRank(ya + ya + "q", ya + ya + "Q"));
}

TEST(UiListBox, InsertsSortedAndKeepsEqualTextsInArrivalOrder) {
  HeadlessWindow window;
  EXPECT_EQ(window.listAdd("carol", 1), 0);
  EXPECT_EQ(window.listAdd("Alice", 2), 0);
  EXPECT_EQ(window.listAdd("bob", 3), 1);
  EXPECT_EQ(window.listAdd("BOB", 4), 2);  // equal to "bob": after it
  EXPECT_EQ(window.listAdd("bob", 5), 3);
  EXPECT_EQ(window.listAdd(hexBytes("82 A0"), 6), 5);
  EXPECT_EQ(window.listAdd("dave", 7), 5);

  EXPECT_EQ(window.listLines(), (std::vector<std::string>{"Alice", "bob", "BOB", "bob", "carol",
                                                          "dave", hexBytes("82 A0")}));
  std::vector<int> items;
  for (int i = 0; i < window.listCount(); ++i) items.push_back(window.listItem(i));
  EXPECT_EQ(items, (std::vector<int>{2, 3, 4, 5, 1, 7, 6}));
  EXPECT_EQ(window.listItem(7), -1);
  EXPECT_EQ(window.listItem(-1), -1);
  EXPECT_EQ(window.listText(7), "");
}

TEST(UiListBox, SelectionFollowsItsLine) {
  HeadlessWindow window;
  window.listAdd("bob", 1);
  window.listAdd("dave", 2);
  window.listSelect(0);

  window.listAdd("alice", 3);  // above the selected line
  EXPECT_EQ(window.listSelection(), 1);
  window.listAdd("bob", 4);  // equal text: goes below
  window.listAdd("zed", 5);
  EXPECT_EQ(window.listSelection(), 1);
  EXPECT_EQ(window.listItem(window.listSelection()), 1);

  window.listDelete(0);  // above
  EXPECT_EQ(window.listSelection(), 0);
  EXPECT_EQ(window.listItem(window.listSelection()), 1);
  window.listDelete(2);  // below
  EXPECT_EQ(window.listSelection(), 0);
  window.listDelete(0);  // the selected line itself
  EXPECT_EQ(window.listSelection(), -1);

  window.listSelect(5);
  EXPECT_EQ(window.listSelection(), -1);
  window.listDelete(9);  // nothing there: nothing happens
  EXPECT_EQ(window.listCount(), 2);
}

}  // namespace
}  // namespace pentaro
