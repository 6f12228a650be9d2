// The Window over the Qt controls: CP932 texts in and out, the chat log, the sorted list box, the
// two toggles, the question box and posted commands.
#include "app/qt_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <memory>
#include <string>
#include <thread>

#include "app/app_test_support.h"
#include "app/main_dialog.h"
#include "text/cp932.h"
#include "ui/chat_log.h"
#include "ui/controls.h"
#include "ui/headless_window.h"

namespace pentaro::testing {
namespace {

class AppQtWindow : public ::testing::Test {
 protected:
  AppQtWindow() {
    application();
    dialog = std::make_unique<MainDialog>();
    window = std::make_unique<QtWindow>(*dialog);
    dialog->setProcedure(&procedure);
  }
  ~AppQtWindow() override { dialog->setProcedure(nullptr); }

  template <typename T>
  T* control(int id) {
    return qobject_cast<T*>(dialog->control(id));
  }
  QListWidget* list() { return control<QListWidget>(IDC_PARTICIPANTS); }

  RecordingProcedure procedure;
  std::unique_ptr<MainDialog> dialog;
  std::unique_ptr<QtWindow> window;
};

TEST_F(AppQtWindow, TextsRoundTripAsCp932AndShowAsJapanese) {
  const std::string name = sjis("山田　太郎ｶﾀｶﾅ①Ⅱ");
  for (int id : {IDC_PLAYER_NAME, IDC_STATUS, IDC_OWN_CAPTION, IDC_CHALLENGE}) {
    window->setText(id, name);
    EXPECT_EQ(window->text(id, 78), name) << id;
    EXPECT_EQ(window->textLength(id), static_cast<int>(name.size())) << id;
  }
  EXPECT_EQ(control<QLineEdit>(IDC_PLAYER_NAME)->text(), QStringLiteral("山田　太郎ｶﾀｶﾅ①Ⅱ"));
  EXPECT_EQ(control<QLabel>(IDC_STATUS)->text(), QStringLiteral("山田　太郎ｶﾀｶﾅ①Ⅱ"));
  EXPECT_EQ(control<QPushButton>(IDC_CHALLENGE)->text(), QStringLiteral("山田　太郎ｶﾀｶﾅ①Ⅱ"));
  // "あ" is 82 A0, "ｱ" B1: two bytes and one.
  window->setText(IDC_STATUS, sjis("あｱ"));
  EXPECT_EQ(window->textLength(IDC_STATUS), 3);
  EXPECT_EQ(window->text(IDC_STATUS, 78), std::string("\x82\xA0\xB1"));
  EXPECT_EQ(window->text(IDC_STATUS, 0), "");
  window->setText(IDC_STATUS, "");
  EXPECT_EQ(window->textLength(IDC_STATUS), 0);
  EXPECT_EQ(window->text(4242, 78), "");  // no such control
}

TEST_F(AppQtWindow, TypedCharactersThatCp932CannotHoldReadAsQuestionMarks) {
  control<QLineEdit>(IDC_CHAT_INPUT)->setText(QStringLiteral("a한b😀c"));
  EXPECT_EQ(window->text(IDC_CHAT_INPUT, 78), "a?b?c");
  EXPECT_EQ(window->textLength(IDC_CHAT_INPUT), 5);
}

TEST_F(AppQtWindow, AReadIsCutAtTheByteCountWithoutSplittingACharacter) {
  // 77 bytes of ASCII and a two-byte character make 79: a 78-byte read ends before it.
  control<QLineEdit>(IDC_CHAT_INPUT)->setText(QString(77, QLatin1Char('x')) + QStringLiteral("漢"));
  const std::string read = window->text(IDC_CHAT_INPUT, kTextReadBytes);
  EXPECT_EQ(read, std::string(77, 'x'));
  // 76 and the character fit exactly.
  control<QLineEdit>(IDC_CHAT_INPUT)->setText(QString(76, QLatin1Char('x')) + QStringLiteral("漢"));
  EXPECT_EQ(window->text(IDC_CHAT_INPUT, kTextReadBytes), std::string(76, 'x') + sjis("漢"));
  // 80 full-width characters are 160 bytes; a read gives the first 39 of them.
  control<QLineEdit>(IDC_CHAT_INPUT)->setText(QString(80, QChar(0x3042)));
  EXPECT_EQ(window->textLength(IDC_CHAT_INPUT), 160);
  std::string expected;
  for (int i = 0; i < 39; ++i) expected += sjis("あ");
  EXPECT_EQ(window->text(IDC_CHAT_INPUT, kTextReadBytes), expected);
}

TEST_F(AppQtWindow, TheChatLogShowsOneLinePerAppendedLineAndCountsItsBytesWithCrLf) {
  auto* log = control<QPlainTextEdit>(IDC_CHAT_LOG);
  appendChatLog(*window, sjis("接続しました"));
  appendChatLog(*window, sjis("ホスト : hello"));
  EXPECT_EQ(log->toPlainText(), QStringLiteral("接続しました\nホスト : hello"));
  EXPECT_EQ(log->document()->blockCount(), 2);
  const std::string expected = sjis("接続しました\r\nホスト : hello\r\n");
  EXPECT_EQ(window->textLength(IDC_CHAT_LOG), static_cast<int>(expected.size()));
  EXPECT_EQ(window->text(IDC_CHAT_LOG, 1000), expected);
  EXPECT_EQ(window->text(IDC_CHAT_LOG, 13), sjis("接続しました\r"));

  // A line written in pieces is still one line.
  window->appendText(IDC_CHAT_LOG, "ab");
  window->appendText(IDC_CHAT_LOG, "c\r\n");
  EXPECT_EQ(log->toPlainText(), QStringLiteral("接続しました\nホスト : hello\nabc"));

  window->setText(IDC_CHAT_LOG, "fresh\r\n");
  EXPECT_EQ(log->toPlainText(), QStringLiteral("fresh"));
  EXPECT_EQ(window->textLength(IDC_CHAT_LOG), 7);
}

TEST_F(AppQtWindow, TheChatLogStartsAgainOnceItHoldsThirtyTwoThousandBytes) {
  auto* log = control<QPlainTextEdit>(IDC_CHAT_LOG);
  const std::string line = sjis("あいうえおかきくけこ") + std::string(78, 'x');  // 98 + CR LF
  int lines = 0;
  while (window->textLength(IDC_CHAT_LOG) < kChatLogLimitBytes) {
    appendChatLog(*window, line);
    ++lines;
  }
  EXPECT_EQ(lines, (kChatLogLimitBytes + 99) / 100);
  EXPECT_EQ(log->document()->blockCount(), lines);
  appendChatLog(*window, "next");
  EXPECT_EQ(log->toPlainText(), QStringLiteral("next"));
  EXPECT_EQ(window->textLength(IDC_CHAT_LOG), 6);
}

TEST_F(AppQtWindow, TheChatLogFollowsItsEnd) {
  dialog->show();
  auto* log = control<QPlainTextEdit>(IDC_CHAT_LOG);
  for (int i = 0; i < 60; ++i) appendChatLog(*window, "line " + std::to_string(i));
  QApplication::processEvents();
  EXPECT_GT(log->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());
}

TEST_F(AppQtWindow, TheListBoxSortsLikeEveryOtherFrontEndAndKeepsItemData) {
  // Byte order of CP932 with ASCII letters caseless: full-width "Ｚ" (82 79) sorts before the
  // kanji "漢" (8A BF), though Unicode puts it after; equal texts keep their order.
  const std::vector<std::pair<std::string, int>> adds = {
      {"bob", 1},       {sjis("漢字"), 2},  {"Alice", 3},        {sjis("Ｚさん"), 4}, {"alice", 5},
      {sjis("ｱｷﾗ"), 6}, {"carol ★ bob", 7}, {sjis("名無し"), 8}, {"bob", 9},
  };
  HeadlessWindow reference;
  for (const auto& [text, item] : adds) {
    EXPECT_EQ(window->listAdd(text, item), reference.listAdd(text, item)) << text;
  }
  ASSERT_EQ(window->listCount(), reference.listCount());
  for (int i = 0; i < window->listCount(); ++i) {
    EXPECT_EQ(window->listText(i), reference.listText(i)) << i;
    EXPECT_EQ(window->listItem(i), reference.listItem(i)) << i;
    EXPECT_EQ(list()->item(i)->text(),
              QString::fromStdString(cp932::toUtf8(reference.listText(i))));
    EXPECT_EQ(list()->item(i)->data(Qt::UserRole).toInt(), reference.listItem(i));
  }
  EXPECT_EQ(window->listItem(0), 3) << "Alice first, before the later alice";
  EXPECT_EQ(window->listItem(window->listCount() - 1), 6) << "half-width kana last";
  EXPECT_EQ(window->listItem(-1), -1);
  EXPECT_EQ(window->listItem(window->listCount()), -1);
  EXPECT_EQ(window->listText(99), "");
}

TEST_F(AppQtWindow, TheSelectionFollowsItsLineThroughInsertsAndDeletes) {
  window->listAdd("m", 1);
  window->listAdd("x", 2);
  EXPECT_EQ(window->listSelection(), -1);
  window->listSelect(1);
  EXPECT_EQ(window->listSelection(), 1);
  EXPECT_EQ(list()->currentItem()->text(), QStringLiteral("x"));
  window->listAdd("a", 3);  // above the selected line
  EXPECT_EQ(window->listSelection(), 2);
  EXPECT_EQ(window->listItem(window->listSelection()), 2);
  window->listDelete(0);
  EXPECT_EQ(window->listSelection(), 1);
  window->listDelete(1);  // the selected line itself
  EXPECT_EQ(window->listSelection(), -1);
  EXPECT_EQ(window->listCount(), 1);
  window->listDelete(5);  // nothing there
  EXPECT_EQ(window->listCount(), 1);
  window->listSelect(0);
  window->listSelect(-1);
  EXPECT_EQ(window->listSelection(), -1);
  // A user's click selects as well.
  dialog->show();
  const QRect at = list()->visualItemRect(list()->item(0));
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
  EXPECT_EQ(window->listSelection(), 0);
}

TEST_F(AppQtWindow, EnabledAndPressedStatesReachTheControls) {
  window->setEnabled(IDC_END_MATCH, true);
  EXPECT_TRUE(dialog->control(IDC_END_MATCH)->isEnabled());
  EXPECT_TRUE(window->isEnabled(IDC_END_MATCH));
  window->setEnabled(IDC_PLAYER_NAME, false);
  EXPECT_FALSE(dialog->control(IDC_PLAYER_NAME)->isEnabled());
  EXPECT_FALSE(window->isEnabled(IDC_PLAYER_NAME));

  window->setPressed(IDC_BE_SERVER, true);
  EXPECT_TRUE(control<QPushButton>(IDC_BE_SERVER)->isChecked());
  EXPECT_TRUE(window->isPressed(IDC_BE_SERVER));
  EXPECT_FALSE(window->isPressed(IDC_CONNECT));
  window->setPressed(IDC_BE_SERVER, false);
  EXPECT_FALSE(window->isPressed(IDC_BE_SERVER));
  // Setting the state is no click: the procedure hears nothing.
  EXPECT_TRUE(procedure.commands.empty());
}

TEST_F(AppQtWindow, TheQuestionIsAModalYesNoBoxOverTheDialog) {
  dialog->show();
  {
    QuestionAnswerer yes(true);
    EXPECT_TRUE(window->askYesNo(sjis("ホストさんと、対戦しますか？"), sjis("Pentaroゲーム")));
    ASSERT_EQ(yes.asked.size(), 1u);
    EXPECT_EQ(yes.asked[0].text, QStringLiteral("ホストさんと、対戦しますか？"));
    EXPECT_EQ(yes.asked[0].caption, QStringLiteral("Pentaroゲーム"));
    EXPECT_EQ(yes.asked[0].icon, QMessageBox::Question);
    EXPECT_EQ(yes.asked[0].yesLabel, QStringLiteral("はい(&Y)"));
    EXPECT_EQ(yes.asked[0].noLabel, QStringLiteral("いいえ(&N)"));
    EXPECT_TRUE(yes.asked[0].yesIsDefault);
    EXPECT_TRUE(yes.asked[0].modal);
    EXPECT_EQ(yes.asked[0].parent, dialog.get());
  }
  {
    QuestionAnswerer no(false);
    EXPECT_FALSE(window->askYesNo("?", "caption"));
    EXPECT_EQ(no.asked.size(), 1u);
  }
}

TEST_F(AppQtWindow, PostedClicksReachTheProcedureFromAnyThread) {
  std::thread worker([&] { window->post(CMD_OWN_BOARD_CLICK, 2 | 3u << 16); });
  worker.join();
  window->post(CMD_OWN_BOARD_CLICK, 4);
  EXPECT_TRUE(procedure.commands.empty());
  ASSERT_TRUE(waitFor([&] { return procedure.commands.size() == 2; }));
  EXPECT_EQ(procedure.commands[0],
            (RecordingProcedure::Command{CMD_OWN_BOARD_CLICK, 2 | 3u << 16}));
  EXPECT_EQ(procedure.commands[1], (RecordingProcedure::Command{CMD_OWN_BOARD_CLICK, 4}));
}

}  // namespace
}  // namespace pentaro::testing
