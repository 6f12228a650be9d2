// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Qt controls by identifier (CP932 texts in and out, the edit fields, the question box), the
// view over them (the chat log, the participant lines and their selection, the challenge question)
// and the Qt event loop as the UI thread.
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <atomic>
#include <functional>
#include <thread>

#include "app/app_test_support.h"
#include "app/participant_delegate.h"
#include "app/qt_text.h"
#include "app/question_box.h"
#include "text/cp932.h"
#include "ui/chat_log.h"
#include "ui/headless_view.h"
#include "ui/view_texts.h"

namespace pentaro::testing {
namespace {

using AppQtWindow = DialogTest;

TEST_F(AppQtWindow, TextsCrossAsCp932AndReadsNeverSplitACharacter) {
  const std::string name = sjis("山田　太郎ｶﾀｶﾅ①Ⅱ");
  for (int id : {IDC_PLAYER_NAME, IDC_STATUS, IDC_CHALLENGE}) {
    window.setText(id, name);
    EXPECT_EQ(window.text(id, kTextReadBytes), name) << id;
    EXPECT_EQ(window.textLength(id), static_cast<int>(name.size())) << id;
  }
  EXPECT_EQ(control<QLabel>(IDC_STATUS)->text(), QStringLiteral("山田　太郎ｶﾀｶﾅ①Ⅱ"));
  auto* input = control<QLineEdit>(IDC_CHAT_INPUT);
  input->setText(QStringLiteral("a한b😀c"));  // beyond CP932
  EXPECT_EQ(window.text(IDC_CHAT_INPUT, kTextReadBytes), "a?b?c");
  // 77 bytes and a two-byte character make 79: a 78-byte read stops before the character.
  input->setText(QString(77, QLatin1Char('x')) + QStringLiteral("漢"));
  EXPECT_EQ(window.text(IDC_CHAT_INPUT, kTextReadBytes), std::string(77, 'x'));
  input->setText(QString(76, QLatin1Char('x')) + QStringLiteral("漢"));
  EXPECT_EQ(window.text(IDC_CHAT_INPUT, kTextReadBytes), std::string(76, 'x') + sjis("漢"));
}

TEST_F(AppQtWindow, EditFieldsHoldWhatIsReadFromThemAndRefuseWhatCannotArrive) {
  const QString x76(76, QLatin1Char('x')), x77(77, QLatin1Char('x')), x78(78, QLatin1Char('x'));
  const struct {
    int id;
    QString before, typed, after;
  } cases[] = {
      {IDC_CHAT_INPUT, x77, QStringLiteral("漢"), x77},  // 79 bytes: refused
      {IDC_CHAT_INPUT, x76, QStringLiteral("漢"), x76 + QStringLiteral("漢")},
      {IDC_CHAT_INPUT, x78, QStringLiteral("y"), x78},
      {IDC_CHAT_INPUT, QString(), QString(40, QChar(u'あ')), QString()},  // pasted: all or nothing
      {IDC_CHAT_INPUT, QStringLiteral("a?"), QStringLiteral("€"), QStringLiteral("a?")},
      {IDC_CHAT_INPUT, QString(), QStringLiteral("a\tb"), QString()},  // would split the line
      {IDC_PLAYER_NAME, QStringLiteral("山田"), QStringLiteral("😀"), QStringLiteral("山田")},
      {IDC_PLAYER_NAME, QStringLiteral("山田"), QStringLiteral("한"), QStringLiteral("山田")},
      {IDC_PLAYER_NAME, x77, QStringLiteral("ｱ"), x77 + QStringLiteral("ｱ")},      // one byte
      {IDC_PLAYER_NAME, QString(), QStringLiteral("〜①"), QStringLiteral("～①")},  // as it arrives
      {IDC_SERVER_ADDRESS, x78, QStringLiteral("."), x78},
  };
  for (const auto& c : cases) {
    auto* edit = control<QLineEdit>(c.id);
    edit->setText(c.before);
    edit->insert(c.typed);  // as typed or pasted
    EXPECT_EQ(edit->text(), c.after) << c.id << " " << c.typed.toStdString();
    EXPECT_EQ(toQString(window.text(c.id, kTextReadBytes)), edit->text()) << c.id;
  }
  // Typed key by key, 80 full-width characters become the 39 that are sent.
  auto* chat = control<QLineEdit>(IDC_CHAT_INPUT);
  chat->clear();
  for (int i = 0; i < 80; ++i) {
    QTest::sendKeyEvent(QTest::Click, chat, Qt::Key_unknown, QStringLiteral("あ"), Qt::NoModifier);
  }
  EXPECT_EQ(chat->text(), QString(39, QChar(u'あ')));
}

TEST_F(AppQtWindow, TheChatLogShowsALinePerLineCountsCrLfAndStartsAgainAt32000Bytes) {
  auto* log = control<QPlainTextEdit>(IDC_CHAT_LOG);
  dialog.show();
  view.hostMessageAdded(sjis("接続しました"));
  view.chatAdded(sjis("びー"), "abc");
  EXPECT_EQ(log->toPlainText(), QStringLiteral("接続しました\nびー : abc"));
  EXPECT_EQ(window.text(IDC_CHAT_LOG, 1000), sjis("接続しました\r\nびー : abc\r\n"));
  int lines = 2;
  while (window.textLength(IDC_CHAT_LOG) < static_cast<int>(ChatLog::kLimitBytes)) {
    view.hostMessageAdded(sjis("あいうえお") + std::string(88, 'x'));
    ++lines;
  }
  EXPECT_EQ(window.textLength(IDC_CHAT_LOG), 26 + (lines - 2) * 100);
  EXPECT_EQ(log->blockCount(), lines);
  EXPECT_EQ(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());
  view.hostMessageAdded("next");
  EXPECT_EQ(log->toPlainText(), QStringLiteral("next"));
  EXPECT_EQ(window.textLength(IDC_CHAT_LOG), 6);
  window.appendText(IDC_CHAT_LOG, "ab");  // a line in pieces is one line
  window.appendText(IDC_CHAT_LOG, "c\r\n");
  EXPECT_EQ(log->toPlainText(), QStringLiteral("next\nabc"));
  EXPECT_EQ(window.text(IDC_CHAT_LOG, 1000), "next\r\nabc\r\n");
}

TEST_F(AppQtWindow, TheListShowsLinesWhereToldAndKeepsItsSelectionLikeTheHeadlessView) {
  HeadlessView reference;
  auto* list = control<QListWidget>(IDC_PARTICIPANTS);
  auto expectSame = [&](const char* step) {
    SCOPED_TRACE(step);
    ASSERT_EQ(window.listCount(), static_cast<int>(reference.listLines().size()));
    for (int i = 0; i < window.listCount(); ++i) {
      EXPECT_EQ(window.listText(i), reference.listLines()[i]) << i;
      EXPECT_EQ(window.listItem(i), reference.listItem(i)) << i;
      EXPECT_EQ(list->item(i)->text().toStdString(), cp932::toUtf8(reference.listLines()[i])) << i;
    }
    EXPECT_EQ(window.listSelection(), reference.selection());
    EXPECT_EQ(view.selectedParticipant(), reference.selectedId());
  };
  auto both = [&](const std::function<void(LobbyView&)>& event) {
    event(view);
    event(reference);
  };
  const struct {
    int index;
    std::string text;
    int id;
  } inserts[] = {{0, "bob", 1},    {0, sjis("漢字"), 2}, {1, "Alice", 3}, {3, sjis("ｱｷﾗ"), 4},
                 {-1, "carol", 5}, {9, "dave", 6}};  // outside the list: at its end
  for (const auto& line : inserts) {
    both([&](LobbyView& v) { v.participantInserted(line.index, line.text, line.id); });
  }
  expectSame("inserted");
  window.listSelect(2);
  reference.select(2);
  both([](LobbyView& v) { v.participantInserted(0, "0", 42); });  // above: the line keeps it
  expectSame("inserted above the selection");
  EXPECT_EQ(view.selectedParticipant(), 1);
  // A line that sorts past the selection: the selection stays with its participant.
  both([](LobbyView& v) { v.participantRebuilt(0, 5, sjis("0 ★ 漢字"), 42); });
  expectSame("rebuilt around the selection");
  EXPECT_EQ(view.selectedParticipant(), 1);
  both([](LobbyView& v) { v.participantRebuilt(-1, 0, "eve", 7); });
  expectSame("a line added as rebuilt");
  both([](LobbyView& v) { v.participantRemoved(0); });
  expectSame("removed above the selection");
  const int selected = window.listSelection();
  ASSERT_GE(selected, 0);
  both([&](LobbyView& v) { v.participantRemoved(selected); });  // no neighbour takes it
  expectSame("the selected line removed");
  EXPECT_EQ(window.listSelection(), -1);
  EXPECT_EQ(view.selectedParticipant(), -1);
  dialog.show();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(window.listSelection(), 1);
  EXPECT_EQ(view.selectedParticipant(), window.listItem(1));
  // A line wider than the list keeps its star and the ends of both names; the pointer shows all.
  const QString wide = QStringLiteral("じろう ★ コンピュータ(つよい)");
  view.participantInserted(0, sjis(wide.toStdString()), 8);
  const int width = list->viewport()->width();
  const QFontMetrics metrics = list->fontMetrics();
  EXPECT_GT(metrics.horizontalAdvance(wide), width);
  EXPECT_EQ(list->item(0)->toolTip(), wide);
  EXPECT_EQ(list->item(0)->text(), wide);
  for (const QString& line : {wide, QStringLiteral("コンピュータ(ふつう)2 ★ コンピュータ(つよい)"),
                              QStringLiteral("コンピュータ(ふつう)12345678")}) {
    const QString shown = ParticipantDelegate::shortened(line, metrics, width);
    EXPECT_LE(metrics.horizontalAdvance(shown), width) << shown.toStdString();
    EXPECT_EQ(shown.left(2), line.left(2)) << shown.toStdString();
    EXPECT_EQ(shown.right(2), line.right(2)) << shown.toStdString();
    EXPECT_EQ(shown.contains(QStringLiteral(" ★ ")), line.contains(QStringLiteral(" ★ ")));
  }
  EXPECT_TRUE(ParticipantDelegate::shortened(wide, metrics, width).startsWith(u"じろう ★ コ"));
  view.participantsCleared();
  EXPECT_EQ(window.listCount(), 0);
  EXPECT_EQ(view.selectedParticipant(), -1);
}

TEST_F(AppQtWindow, StatesAndTheModalJapaneseYesNoChallengeQuestion) {
  window.setEnabled(IDC_END_MATCH, true);
  EXPECT_TRUE(control(IDC_END_MATCH)->isEnabled());
  window.setPressed(IDC_BE_SERVER, true);
  EXPECT_TRUE(control<QPushButton>(IDC_BE_SERVER)->isChecked());
  EXPECT_FALSE(window.isPressed(IDC_CONNECT));
  EXPECT_TRUE(procedure.commands.empty());  // no click

  dialog.show();
  {
    QuestionAnswerer no(false);
    EXPECT_FALSE(view.askChallenge("?"));
  }
  QuestionAnswerer yes(true);
  EXPECT_TRUE(view.askChallenge(sjis("ホスト")));
  ASSERT_EQ(yes.asked.size(), 1u);
  const QuestionAnswerer::Question& q = yes.asked[0];
  EXPECT_EQ(q.text, QStringLiteral("ホストさんと、対戦しますか？"));
  EXPECT_EQ(q.caption, toQString(questionCaption()));
  EXPECT_EQ(q.icon, QMessageBox::Question);
  EXPECT_EQ(q.yesLabel + q.noLabel, QStringLiteral("はい(&Y)いいえ(&N)"));
  EXPECT_TRUE(q.yesIsDefault && q.modal);
  EXPECT_EQ(q.parent, &dialog);
}

// Asks a question and runs `whileOpen` on the box once it shows, inside the box's event loop.
// `whileOpen` must answer it.
bool askAndWatch(QWidget& parent, const std::function<void(QuestionBox&)>& whileOpen) {
  QTimer::singleShot(0, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QuestionBox*>(widget);
      if (box != nullptr && box->isVisible()) whileOpen(*box);
    }
  });
  return QtWindow::ask(parent, "?", "caption");
}

bool waitUntilAnswerable(QuestionBox& box) {
  if (QTest::qWaitFor([&] { return box.answerable(); })) return true;
  ADD_FAILURE() << "the buttons never took input";
  box.done(QMessageBox::No);
  return false;
}

QRect globalRect(const QWidget* widget) {
  return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

TEST_F(AppQtWindow, AQuestionIgnoresPressesMeantForTheWindowAndOpensWithNoButtonUnderThePointer) {
  showActive();
  QCursor::setPos(1, 1);
  QPoint noSpot;
  EXPECT_FALSE(askAndWatch(dialog, [&](QuestionBox& box) {
    QAbstractButton* no = box.button(QMessageBox::No);
    QTest::mouseClick(no, Qt::LeftButton);
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Return), Qt::AltModifier | Qt::Key_N,
                                      QKeyCombination(Qt::Key_Escape)}) {
      QTest::keyClick(&box, key.key(), key.keyboardModifiers());
    }
    EXPECT_TRUE(box.isVisible());
    if (!waitUntilAnswerable(box)) return;
    // A key held down since before the question repeats, but does not answer.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(box.defaultButton(), &repeat);
    EXPECT_TRUE(box.isVisible());
    noSpot = globalRect(no).center();
    QTest::mouseClick(no, Qt::LeftButton);
  }));

  // The pointer rests where "いいえ" was: the next question opens elsewhere.
  QCursor::setPos(noSpot);
  EXPECT_TRUE(askAndWatch(dialog, [&](QuestionBox& box) {
    for (const QAbstractButton* button : box.buttons()) {
      EXPECT_FALSE(globalRect(button).adjusted(-2, -2, 2, 2).contains(QCursor::pos()));
    }
    if (waitUntilAnswerable(box)) QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
  }));
}

TEST(AppQtUiThread, RunsWorkersCallsAndPostsOnTheEventLoopInOrder) {
  QtUiThread ui;
  std::vector<int> order;
  std::atomic<bool> done{false};
  bool inWorker = true, result = false;
  QThread* ranOn = nullptr;
  std::thread worker([&] {
    inWorker = ui.isUiThread();
    ui.post([&] { order.push_back(1); });
    result = ui.invokeAndWait([&] { ranOn = QThread::currentThread(), order.push_back(2); });
    ui.post([&] { order.push_back(3); });
    done = true;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return done && order.size() == 3; }));
  worker.join();
  EXPECT_TRUE(ui.isUiThread());
  EXPECT_FALSE(inWorker);
  EXPECT_TRUE(result);
  EXPECT_EQ(ranOn, QThread::currentThread());
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(AppQtUiThread, ShuttingDownReleasesAWaitingWorkerAndDropsQueuedWork) {
  bool ran = false, result = true;
  {
    QtUiThread ui;
    ui.post([&] { ran = true; });  // queued, and gone with the UI thread object
    std::atomic<bool> started{false};
    std::thread worker([&] {
      started = true;
      result = ui.invokeAndWait([&] { ran = true; });
    });
    while (!started) std::this_thread::yield();  // the event loop does not run meanwhile
    ui.shutDown();
    worker.join();
  }
  QCoreApplication::processEvents();
  EXPECT_FALSE(result);
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace pentaro::testing
