// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Complete players behind Qt dialogs, driven through the controls as users drive them: one
// player placing numbers and keeping its settings (or telling that it could not), and lobby rounds
// over loopback with hosting, joining, chat, a challenge answered in the question box, a match
// played by clicks and watched, its end, the server going away, and invited computer players.
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <set>

#include "app/app_test_support.h"
#include "app/computer_invitations.h"

namespace pentaro::testing {
namespace {

int inkIn(const QImage& image, int column, int row) {
  const int w = image.width() / 5, h = image.height() / 5;
  int ink = 0;
  for (int y = row * h + 1; y < (row + 1) * h - 1; ++y) {
    for (int x = column * w + 1; x < (column + 1) * w - 1; ++x)
      ink += qGray(image.pixel(x, y)) < 100;
  }
  return ink;
}

class AppProgram : public ::testing::Test {
 protected:
  // Nobody listens on port 1: connecting fails quietly.
  std::unique_ptr<QtPlayer> start() { return std::make_unique<QtPlayer>(1, path.toStdString(), 7); }

  QTemporaryDir folder;
  QString path = folder.filePath(QStringLiteral("qm.ini"));
};

TEST_F(AppProgram, PlacesNumbersWhereAnyButtonClicks) {
  auto player = start();
  const Board& own = player->boards().own();
  player->click(IDC_PLACE_MANUALLY);
  EXPECT_EQ(player->text(IDC_STATUS), QStringLiteral("1番から、順番に配置してください"));
  player->clickCell(3, 1, Qt::RightButton);
  player->clickCell(3, 1, Qt::LeftButton);  // taken: ignored
  player->clickCell(0, 4, Qt::MiddleButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return own.cell(3, 1) == 1 && own.cell(0, 4) == 2; }));
  EXPECT_EQ(player->text(IDC_STATUS), QStringLiteral("次は、3"));
  player->control(IDC_OWN_BOARD)->setFocus(Qt::TabFocusReason);  // and by keyboard
  for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Space}) {
    QTest::keyClick(player->control(IDC_OWN_BOARD), key);
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return own.cell(1, 1) == 3; }));
  const QImage placed = grabImage(*player->control(IDC_OWN_BOARD));
  EXPECT_GT(inkIn(placed, 3, 1), 3);
  EXPECT_EQ(inkIn(placed, 2, 2), 0);
  EXPECT_GT(inkIn(placed, 1, 1), 3);
  player->click(IDC_AUTO_PLACE_REST);
  EXPECT_EQ(player->text(IDC_STATUS), QStringLiteral("自動配置完了"));
  EXPECT_TRUE(own.isFilled());
  EXPECT_EQ(own.cell(3, 1), 1);
}

TEST_F(AppProgram, ATogglePutsInADefaultNameAndClosingSavesTheFieldsForTheNextStart) {
  auto player = start();
  player->click(IDC_CONNECT);
  EXPECT_EQ(player->text(IDC_PLAYER_NAME), QStringLiteral("名無し"));
  EXPECT_FALSE(player->enabled(IDC_PLAYER_NAME) || player->enabled(IDC_BE_SERVER));
  player->click(IDC_CONNECT);
  EXPECT_TRUE(player->enabled(IDC_PLAYER_NAME) && player->enabled(IDC_BE_SERVER));

  player->setText(IDC_PLAYER_NAME, QStringLiteral("山田"));
  QTest::keyClicks(player->control(IDC_SERVER_ADDRESS), QStringLiteral("10.0.0.7"));
  QTest::keyClick(player->control(IDC_SERVER_ADDRESS), Qt::Key_Escape);
  EXPECT_TRUE(player->dialog->isVisible());
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_TRUE(player->dialog->close());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  // Each field: its length in two bytes (little-endian), its CP932 bytes and a zero byte.
  EXPECT_EQ(file.readAll(), QByteArray("\x04\x00", 2) + QByteArray::fromStdString(sjis("山田")) +
                                QByteArray("\x00\x08\x00", 3) + "10.0.0.7" + QByteArray(1, '\0'));
  player.reset();
  auto next = start();
  EXPECT_EQ(next->text(IDC_PLAYER_NAME), QStringLiteral("山田"));
  EXPECT_EQ(next->text(IDC_SERVER_ADDRESS), QStringLiteral("10.0.0.7"));
}

TEST_F(AppProgram, AFailedSaveIsToldInABoxOverTheWindowWhichKeepsTheTypedFields) {
  path = folder.filePath(QStringLiteral("missing/qm.ini"));  // in a folder that is not there
  auto player = start();
  player->setText(IDC_PLAYER_NAME, QStringLiteral("山田"));
  player->setText(IDC_SERVER_ADDRESS, QStringLiteral("10.0.0.7"));
  QuestionAnswerer ok(true);
  QString fieldsWhileTold;
  ok.whileOpen = [&] {
    fieldsWhileTold =
        player->text(IDC_PLAYER_NAME) + QStringLiteral(" ") + player->text(IDC_SERVER_ADDRESS);
  };
  EXPECT_TRUE(player->dialog->close());
  ASSERT_EQ(ok.asked.size(), 1u);
  EXPECT_EQ(ok.asked[0].text, QStringLiteral("設定を保存できませんでした"));
  EXPECT_EQ(ok.asked[0].caption, QStringLiteral("PentaroGame"));
  EXPECT_EQ(ok.asked[0].icon, QMessageBox::Warning);
  EXPECT_EQ(ok.asked[0].parent, player->dialog.get());
  EXPECT_EQ(fieldsWhileTold, QStringLiteral("山田 10.0.0.7"));
  EXPECT_FALSE(player->dialog->isVisible());
}

const QString kHost = QStringLiteral("ホスト"), kBee = QStringLiteral("びー"),
              kSea = QStringLiteral("しー");

class AppLobbyRound : public ::testing::Test {
 protected:
  // The host presses "サーバーになる"; the others type the address and press "接続". A player
  // has joined once the host's list shows it: the next newcomer's welcome is made from that list.
  std::unique_ptr<QtPlayer> join(const QString& name) {
    auto p = std::make_unique<QtPlayer>(
        port, folder.filePath(name + QStringLiteral(".ini")).toStdString(), name.at(0).unicode());
    p->setText(IDC_PLAYER_NAME, name);
    if (host == nullptr) host = p.get();
    if (host != p.get())
      QTest::keyClicks(p->control(IDC_SERVER_ADDRESS), QStringLiteral("127.0.0.1"));
    p->click(host == p.get() ? IDC_BE_SERVER : IDC_CONNECT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return lineWith(*host, name); })) << p->chatText();
    return p;
  }
  static bool lineWith(const QtPlayer& p, const QString& text) {
    const std::vector<QString> lines = p.participantLines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const QString& l) { return l.contains(text); });
  }
  static bool marked(QtPlayer& p, int number) {
    for (int i = 0; i < Board::kCells; ++i) {
      if (p.boards().own().cellAt(i) == -number) return true;
    }
    return false;
  }
  static void expectMatchButtons(QtPlayer& p, bool playing) {
    for (int id : {IDC_CHALLENGE, IDC_SPECTATE, IDC_PLACE_MANUALLY, IDC_AUTO_PLACE_REST}) {
      EXPECT_EQ(p.enabled(id), !playing) << id;
    }
    EXPECT_EQ(p.enabled(IDC_END_MATCH), playing);
  }
  static void expectIdle(QtPlayer& p) {
    for (int id : {IDC_CONNECT, IDC_BE_SERVER, IDC_SERVER_ADDRESS, IDC_PLAYER_NAME}) {
      EXPECT_TRUE(p.enabled(id)) << id;
    }
    EXPECT_FALSE(p.pressed(IDC_CONNECT) || p.pressed(IDC_BE_SERVER));
    EXPECT_EQ(p.text(IDC_STATUS), QStringLiteral("未接続です"));
    EXPECT_TRUE(p.participantLines().empty());
  }
  // A guest whose host went away says it tries again; releasing "接続" makes it idle.
  static void expectRejoiningThenRelease(QtPlayer& p) {
    EXPECT_TRUE(QTest::qWaitFor([&] {
      return p.participantLines().empty() &&
             p.text(IDC_STATUS).endsWith(QStringLiteral("秒後に接続し直します"));
    }));
    EXPECT_TRUE(p.pressed(IDC_CONNECT));
    p.click(IDC_CONNECT);
    expectIdle(p);
  }

  QTemporaryDir folder;
  int port = freePort();
  QtPlayer* host = nullptr;
};

TEST_F(AppLobbyRound, ThreePlayersChatPlayWatchAndGoHomeWhenTheServerStops) {
  auto a = join(kHost);
  EXPECT_TRUE(a->text(IDC_SERVER_ADDRESS).isEmpty());  // hosting leaves the field as typed
  EXPECT_FALSE(a->enabled(IDC_CONNECT) || a->enabled(IDC_PLAYER_NAME));
  auto b = join(kBee);
  auto c = join(kSea);
  ASSERT_FALSE(HasFailure());
  EXPECT_FALSE(b->enabled(IDC_BE_SERVER));
  for (QtPlayer* p : {a.get(), b.get(), c.get()}) {  // in CP932 order: し 82B5, び 82D1, ホ 837A
    EXPECT_TRUE(QTest::qWaitFor([&] {
      return p->participantLines() == std::vector<QString>{kSea, kBee, kHost};
    }));
  }
  QTest::keyClicks(b->control(IDC_CHAT_INPUT), QStringLiteral("hello all"));
  QTest::keyClick(b->control(IDC_CHAT_INPUT), Qt::Key_Return);
  EXPECT_TRUE(b->text(IDC_CHAT_INPUT).isEmpty());
  for (QtPlayer* p : {a.get(), b.get(), c.get()}) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return p->chatHas(kBee + QStringLiteral(" : hello all")); }));
  }

  {  // B challenges the host, who says Yes.
    QuestionAnswerer yes(true);
    ASSERT_TRUE(b->selectParticipant(kHost));
    b->click(IDC_CHALLENGE);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return a->boards().opponent().isFilled() && b->boards().opponent().isFilled(); }));
    ASSERT_EQ(yes.asked.size(), 1u);
    EXPECT_TRUE(yes.asked[0].text.startsWith(kBee)) << yes.asked[0].text.toStdString();
    EXPECT_EQ(yes.asked[0].parent, a->dialog.get());
  }
  expectMatchButtons(*a, true);
  expectMatchButtons(*b, true);
  expectMatchButtons(*c, false);
  EXPECT_EQ(a->text(IDC_OPPONENT_CAPTION), kBee);
  EXPECT_TRUE(QTest::qWaitFor([&] { return lineWith(*c, QStringLiteral("★")); }));
  ASSERT_TRUE(c->selectParticipant(kHost));
  c->click(IDC_SPECTATE);
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return c->text(IDC_STATUS) == QStringLiteral("観戦中") && c->boards().own().isFilled() &&
           c->boards().opponent().isFilled();
  }));

  // Each caller clicks the lowest open number of its own board, with another button each time.
  const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
  for (int calls = 0; !a->boards().gameOver() && calls < Board::kCells; ++calls) {
    QtPlayer& caller = a->fields().turnHolder == a->fields().ownId ? *a : *b;
    QtPlayer& other = &caller == a.get() ? *b : *a;
    const Board& own = caller.boards().own();
    int best = -1;
    for (int i = 0; i < Board::kCells; ++i) {
      if (own.cellAt(i) > 0 && (best < 0 || own.cellAt(i) < own.cellAt(best))) best = i;
    }
    ASSERT_GE(best, 0);
    const int number = own.cellAt(best);
    caller.clickCell(best % 5, best / 5, buttons[calls % 3]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return marked(other, number) && marked(*c, number); }));
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return a->boards().gameOver() && b->boards().gameOver(); }));
  const std::set<QString> results = {a->text(IDC_STATUS), b->text(IDC_STATUS)};
  EXPECT_TRUE(results == std::set<QString>({QStringLiteral("あなたの勝ちです"),
                                            QStringLiteral("相手の勝ちです")}) ||
              results == std::set<QString>({QStringLiteral("引き分けです")}));
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return c->text(IDC_STATUS).endsWith(QStringLiteral("の勝ちです")) ||
           c->text(IDC_STATUS) == QStringLiteral("引き分けです");
  })) << c->text(IDC_STATUS).toStdString();
  const QImage revealed = grabImage(*a->control(IDC_OPPONENT_BOARD));  // shown in full now
  EXPECT_GT(inkIn(revealed, 0, 0) + inkIn(revealed, 4, 4), 6);

  a->click(IDC_END_MATCH);
  // The host's own list too: while it shows a match, releasing the host's toggle asks first.
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return !b->fields().playing() && !lineWith(*c, QStringLiteral("★")) &&
           !lineWith(*a, QStringLiteral("★"));
  }));
  expectMatchButtons(*a, false);
  expectMatchButtons(*b, false);

  a->click(IDC_BE_SERVER);  // released: every connection closes; the host is idle again
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return a->participantLines().empty() && a->text(IDC_STATUS) == QStringLiteral("未接続です");
  }));
  expectIdle(*a);
  for (QtPlayer* p : {b.get(), c.get()}) expectRejoiningThenRelease(*p);
}

TEST_F(AppLobbyRound, ClosingTheHostsDialogAsksWhileOthersPlayThenDisconnectsEverybodyPromptly) {
  auto a = join(kHost);
  auto b = join(kBee);
  auto c = join(kSea);
  ASSERT_FALSE(HasFailure());
  {  // B challenges C, who says Yes; the host plays no part in it.
    QuestionAnswerer yes(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return b->selectParticipant(kSea); }));
    b->click(IDC_CHALLENGE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lineWith(*a, QStringLiteral("★")); }));
  }
  {  // Releasing "サーバーになる" and closing both ask; No keeps the lobby and its match.
    QuestionAnswerer no(false);
    a->click(IDC_BE_SERVER);
    EXPECT_TRUE(a->pressed(IDC_BE_SERVER));
    EXPECT_FALSE(a->dialog->close());
    ASSERT_EQ(no.asked.size(), 2u);
    for (const QuestionAnswerer::Question& q : no.asked) {
      EXPECT_EQ(q.text, QStringLiteral("このサーバーで対戦中の人がいます。サーバーを閉じますか？"));
    }
  }
  EXPECT_TRUE(a->dialog->isVisible());
  EXPECT_TRUE(b->fields().playing() && c->fields().playing());
  QuestionAnswerer yes(true);
  EXPECT_TRUE(a->dialog->close());
  EXPECT_TRUE(QFile::exists(folder.filePath(kHost + QStringLiteral(".ini"))));
  expectRejoiningThenRelease(*b);
  a.reset();  // joins the host's workers: a hang fails the test by its time-out
}

TEST_F(AppLobbyRound, ComputerPlayersAreNumberedPerStrengthAndJoinTheHostsOwnLobby) {
  QtPlayer a(port, folder.filePath(QStringLiteral("a.ini")).toStdString(), 1);
  a.setText(IDC_PLAYER_NAME, kHost);
  a.setText(IDC_SERVER_ADDRESS, QStringLiteral("192.0.2.1"));  // typed for later, not this lobby
  a.click(IDC_BE_SERVER);
  ASSERT_TRUE(QTest::qWaitFor([&] { return lineWith(a, kHost); }));
  ComputerInvitations computers(*a.control(IDC_PARTICIPANTS), *a.program, port);
  for (Level level : {Level::kNormal, Level::kNormal, Level::kStrong, Level::kNormal}) {
    computers.invite(level);
  }
  const QString normal = QStringLiteral("コンピュータ(ふつう)");
  const std::set<QString> expected = {kHost, normal, normal + QStringLiteral("2"),
                                      normal + QStringLiteral("3"),
                                      QStringLiteral("コンピュータ(つよい)")};
  EXPECT_TRUE(QTest::qWaitFor([&] {
    const std::vector<QString> lines = a.participantLines();
    return std::set<QString>(lines.begin(), lines.end()) == expected;
  })) << a.chatText();
}

}  // namespace
}  // namespace pentaro::testing
