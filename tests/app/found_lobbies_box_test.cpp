// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The address field's list of found lobbies, driven through its model (the browser itself is
// tested against a real daemon in tests/discovery): picking fills the address the program
// connects to, typing is left alone while the list changes, and the chat log tells once per loss
// that lobbies cannot be found.
#include "app/found_lobbies_box.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTest>
#include <cstdlib>

#include "app_test_support.h"
#include "server/lobby_server.h"

namespace pentaro::testing {
namespace {

constexpr int kPort = 1230;

class FoundLobbiesBoxTest : public DialogTest {
 protected:
  FoundLobbiesBoxTest() : box(*control<QLineEdit>(IDC_SERVER_ADDRESS), view, kPort) {}

  QString address() { return control<QLineEdit>(IDC_SERVER_ADDRESS)->text(); }
  int notes() {
    const QString note = QString::fromUtf8(
        "Avahi が動いていないので、サーバーを自動では探せません。サーバーIPを入力してください");
    return control<QPlainTextEdit>(IDC_CHAT_LOG)
        ->toPlainText()
        .split(QLatin1Char('\n'))
        .count(note);
  }
  void settle() { QCoreApplication::processEvents(); }

  FoundLobbiesBox box;
};

TEST_F(FoundLobbiesBoxTest, PickingALobbyFillsTheAddressAndTypingIsLeftAloneMeanwhile) {
  QTest::keyClicks(control(IDC_SERVER_ADDRESS), QStringLiteral("10.1.2.3"));
  box.lobbies().setState(FoundLobbies::State::kAvailable);
  box.lobbies().put("a", {"花子", "hanako.local", "192.168.1.20", kPort, 3, "1.01"});
  box.lobbies().put("b", {"離れ", "far.local", "192.168.1.30", 4000, 0, "1.01"});
  settle();
  ASSERT_EQ(box.count(), 2);
  EXPECT_EQ(box.itemText(0), QString::fromUtf8("花子  192.168.1.20  3人"));
  EXPECT_EQ(box.itemText(1), QString::fromUtf8("離れ  192.168.1.30  0人  ポート 4000"));
  auto* items = qobject_cast<QStandardItemModel*>(box.model());
  EXPECT_TRUE(items->item(0)->isEnabled());
  EXPECT_FALSE(items->item(1)->isEnabled()) << "the window connects to its own port only";
  EXPECT_EQ(address(), QStringLiteral("10.1.2.3"));
  EXPECT_EQ(window.text(IDC_SERVER_ADDRESS, kTextReadBytes), "10.1.2.3");

  emit box.activated(0);
  EXPECT_EQ(window.text(IDC_SERVER_ADDRESS, kTextReadBytes), "192.168.1.20");
  EXPECT_EQ(box.currentIndex(), -1);

  // The picked lobby going away, and the list emptying, change nothing typed.
  box.lobbies().remove("a");
  box.lobbies().remove("b");
  settle();
  EXPECT_EQ(address(), QStringLiteral("192.168.1.20"));
  ASSERT_EQ(box.count(), 1);
  EXPECT_FALSE(items->item(0)->isEnabled());  // "サーバーは見つかっていません"

  // While connected the field cannot change, and the box's arrow says so too.
  view.connectionChanged(ConnectionState::kConnected);
  EXPECT_FALSE(box.isEnabled());
  EXPECT_FALSE(window.isEnabled(IDC_SERVER_ADDRESS));
  view.connectionChanged(ConnectionState::kIdle);
  EXPECT_TRUE(box.isEnabled());
  EXPECT_TRUE(window.isEnabled(IDC_SERVER_ADDRESS));

  // The field keeps its place in the tab order: after "接続", before the name.
  showActive();
  control(IDC_CONNECT)->setFocus();
  QTest::keyClick(control(IDC_CONNECT), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), control(IDC_SERVER_ADDRESS));
  QTest::keyClick(control(IDC_SERVER_ADDRESS), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), control(IDC_PLAYER_NAME));
}

TEST_F(FoundLobbiesBoxTest, TheChatLogSaysOnceEachTimeLobbiesCannotBeFound) {
  settle();
  EXPECT_EQ(notes(), 0) << "not before the browser knows";
  box.lobbies().setState(FoundLobbies::State::kUnavailable);
  settle();
  box.lobbies().setState(FoundLobbies::State::kUnavailable);
  box.lobbies().setState(FoundLobbies::State::kSearching);
  box.lobbies().setState(FoundLobbies::State::kUnavailable);
  settle();
  EXPECT_EQ(notes(), 1);
  box.lobbies().setState(FoundLobbies::State::kAvailable);
  settle();
  box.lobbies().setState(FoundLobbies::State::kUnavailable);
  settle();
  EXPECT_EQ(notes(), 2) << "the daemon came back and went again";
}

// The end to end: a lobby found at this machine's address is joined with "接続".
TEST(FoundLobbiesBoxPlayers, APickedLobbyIsTheOneConnectedTo) {
  const int port = freePort();
  QtPlayer host(port, "/nonexistent/host.ini", 1);
  host.setText(IDC_PLAYER_NAME, QString::fromUtf8("主"));
  host.click(IDC_BE_SERVER);
  QtPlayer guest(port, "/nonexistent/guest.ini", 2);
  FoundLobbiesBox box(*guest.control<QLineEdit>(IDC_SERVER_ADDRESS), *guest.view, port);
  box.lobbies().setState(FoundLobbies::State::kAvailable);
  box.lobbies().put("host", {"主", "here.local", "127.0.0.1", port, 1, "1.01"});
  QCoreApplication::processEvents();
  emit box.activated(0);
  guest.click(IDC_CONNECT);
  EXPECT_TRUE(QTest::qWaitFor([&] { return guest.participantLines().size() == 2; }))
      << guest.chatText();
}

// Against a real daemon, inside the namespace tests/discovery/avahi_namespace.sh makes (CTest's
// avahi_namespace_window; skipped elsewhere): the browser's worker fills the window's list.
TEST(FoundLobbiesBoxDaemon, ALobbyOnTheNetworkIsListedUntilItStops) {
  if (std::getenv("PENTARO_AVAHI_CONTROL") == nullptr) {
    GTEST_SKIP() << "runs inside the namespace avahi_namespace.sh makes";
  }
  MainDialog dialog;
  QtWindow window(dialog);
  QtView view(dialog, window);
  FoundLobbiesBox box(*qobject_cast<QLineEdit*>(dialog.control(IDC_SERVER_ADDRESS)), view, kPort);
  box.startBrowsing();
  const int port = freePort();
  LobbyServer server;
  server.setAnnouncement("窓から見える");
  ASSERT_TRUE(server.startServer(port));
  const QString line =
      QString::fromUtf8("窓から見える  127.0.0.1  0人  ポート ") + QString::number(port);
  auto listed = [&] { return box.findText(line) >= 0; };
  EXPECT_TRUE(QTest::qWaitFor(listed, 15000)) << box.itemText(0).toStdString();
  server.stopServer();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !listed(); }, 15000));
}

}  // namespace
}  // namespace pentaro::testing
