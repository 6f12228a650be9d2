// One player's complete program behind the Qt dialog: the first board on screen, placing numbers
// by clicking, and the settings file at start and close.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/app_test_support.h"
#include "app/board_widget.h"
#include "app/qt_player.h"
#include "ui/controls.h"

namespace pentaro::testing {
namespace {

class AppProgramDialog : public ::testing::Test {
 protected:
  AppProgramDialog() {
    application();
    EXPECT_TRUE(folder.isValid());
  }
  std::string settingsPath() const {
    return folder.filePath(QStringLiteral("qm.ini")).toStdString();
  }
  std::unique_ptr<QtPlayer> start(std::uint32_t seed = 7) {
    // No server is ever started on this port here.
    return std::make_unique<QtPlayer>(1, settingsPath(), seed);
  }
  static int darkPixelsIn(const QImage& image, QRect cell) {
    int n = 0;
    for (int y = cell.top() + 1; y <= cell.bottom(); ++y) {
      for (int x = cell.left() + 1; x <= cell.right(); ++x) {
        n += QColor(image.pixel(x, y)).lightness() < 100 ? 1 : 0;
      }
    }
    return n;
  }
  static QRect cellRect(const QWidget& board, int column, int row) {
    const int w = board.width() / 5, h = board.height() / 5;
    return QRect(column * w, row * h, w, h);
  }

  QTemporaryDir folder;
};

TEST_F(AppProgramDialog, AFreshProgramShowsItsShuffledNumbersAndAnEmptyOpponentFrame) {
  auto player = start();
  BoardWidget* own = player->board(IDC_OWN_BOARD);
  BoardWidget* opponent = player->board(IDC_OPPONENT_BOARD);
  const QImage ownImage = grabImage(*own);
  const QImage opponentImage = grabImage(*opponent);
  const QColor face = opponent->palette().color(QPalette::Button);
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      SCOPED_TRACE(::testing::Message() << column << "," << row);
      const QRect cell = cellRect(*own, column, row);
      EXPECT_GT(player->program->boards().own().cell(column, row), 0);
      EXPECT_EQ(pixel(ownImage, cell.left() + 2, cell.top() + 2), QColor(Qt::white));
      EXPECT_GT(darkPixelsIn(ownImage, cell), 3) << "a number";
      EXPECT_EQ(pixel(opponentImage, cell.left() + 2, cell.top() + 2), face);
      EXPECT_EQ(darkPixelsIn(opponentImage, cell.adjusted(1, 1, -1, -1)), 0);
    }
  }
  EXPECT_EQ(player->status(), QStringLiteral("未接続です"));
  EXPECT_EQ(player->edit(IDC_PLAYER_NAME)->text(), QString());  // no settings file yet
}

TEST_F(AppProgramDialog, NumbersArePlacedByClickingTheCellsWithAnyButton) {
  auto player = start();
  const Board& own = player->program->boards().own();
  QTest::mouseClick(player->button(IDC_PLACE_MANUALLY), Qt::LeftButton);
  EXPECT_EQ(player->status(), QStringLiteral("1番から、順番に配置してください"));
  ASSERT_TRUE(waitFor([&] {
    const QImage image = grabImage(*player->board(IDC_OWN_BOARD));
    return darkPixelsIn(image, cellRect(*player->board(IDC_OWN_BOARD), 2, 2)) == 0;
  })) << "blank cells while placing";

  player->clickCell(3, 1, Qt::RightButton);
  ASSERT_TRUE(waitFor([&] { return own.cell(3, 1) == 1; }));
  EXPECT_EQ(player->status(), QStringLiteral("次は、2"));
  player->clickCell(0, 4, Qt::MiddleButton);
  ASSERT_TRUE(waitFor([&] { return own.cell(0, 4) == 2; }));
  player->clickCell(3, 1, Qt::LeftButton);  // taken: nothing changes, not even the status
  player->clickCell(4, 4, Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return own.cell(4, 4) == 3; }));
  EXPECT_EQ(own.cell(3, 1), 1);
  EXPECT_EQ(player->status(), QStringLiteral("次は、4"));
  EXPECT_GT(darkPixelsIn(grabImage(*player->board(IDC_OWN_BOARD)),
                         cellRect(*player->board(IDC_OWN_BOARD), 3, 1)),
            3);

  QTest::mouseClick(player->button(IDC_AUTO_PLACE_REST), Qt::LeftButton);
  EXPECT_EQ(player->status(), QStringLiteral("自動配置完了"));
  for (int i = 0; i < Board::kCells; ++i) EXPECT_GT(own.cellAt(i), 0) << i;
  EXPECT_EQ(own.cell(3, 1), 1);
  EXPECT_EQ(own.cell(0, 4), 2);
  EXPECT_EQ(own.cell(4, 4), 3);
}

TEST_F(AppProgramDialog, ClosingSavesTheNameAndAddressButEscapeDoesNothing) {
  auto player = start();
  player->edit(IDC_PLAYER_NAME)->setText(QStringLiteral("山田"));
  QTest::keyClicks(player->edit(IDC_SERVER_ADDRESS), QStringLiteral("10.0.0.7"));
  QTest::keyClick(player->edit(IDC_SERVER_ADDRESS), Qt::Key_Escape);
  QTest::keyClick(player->dialog.get(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(player->dialog->isVisible());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(settingsPath())));

  EXPECT_TRUE(player->dialog->close());
  EXPECT_FALSE(player->dialog->isVisible());
  QFile file(QString::fromStdString(settingsPath()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray name = QByteArray::fromStdString(sjis("山田"));
  QByteArray expected;
  expected.append(static_cast<char>(name.size())).append('\0').append(name).append('\0');
  expected.append('\x08').append('\0').append("10.0.0.7").append('\0');
  EXPECT_EQ(file.readAll(), expected);

  // The next start reads them back.
  player.reset();
  auto next = start();
  EXPECT_EQ(next->edit(IDC_PLAYER_NAME)->text(), QStringLiteral("山田"));
  EXPECT_EQ(next->edit(IDC_SERVER_ADDRESS)->text(), QStringLiteral("10.0.0.7"));
}

TEST_F(AppProgramDialog, TheFirstToggleClickNamesANamelessPlayer) {
  auto player = start();
  QTest::mouseClick(player->button(IDC_CONNECT), Qt::LeftButton);  // nobody listens on port 1
  EXPECT_TRUE(player->button(IDC_CONNECT)->isChecked());
  EXPECT_EQ(player->edit(IDC_PLAYER_NAME)->text(), QStringLiteral("名無し"));
  EXPECT_FALSE(player->edit(IDC_PLAYER_NAME)->isEnabled());
  EXPECT_FALSE(player->edit(IDC_SERVER_ADDRESS)->isEnabled());
  EXPECT_FALSE(player->button(IDC_BE_SERVER)->isEnabled());
  QTest::mouseClick(player->button(IDC_CONNECT), Qt::LeftButton);
  EXPECT_FALSE(player->button(IDC_CONNECT)->isChecked());
  EXPECT_TRUE(player->button(IDC_BE_SERVER)->isEnabled());
  EXPECT_TRUE(player->edit(IDC_PLAYER_NAME)->isEnabled());
}

}  // namespace
}  // namespace pentaro::testing
