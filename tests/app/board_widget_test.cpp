// The boards on screen: the Qt canvas keeps the classic drawing rules, the painted widgets show
// the game's colours, and presses on the own board become cell clicks.
#include "app/board_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <memory>

#include "app/app_test_support.h"
#include "app/main_dialog.h"
#include "app/qt_canvas.h"
#include "ui/controls.h"

namespace pentaro::testing {
namespace {

const QColor kQtWhite(255, 255, 255), kQtBlack(0, 0, 0), kQtYellow(255, 255, 0), kQtRed(255, 0, 0);

class AppQtCanvas : public ::testing::Test {
 protected:
  AppQtCanvas() : image(40, 30, QImage::Format_RGB32) {
    application();
    image.fill(Qt::white);
  }
  template <typename Draw>
  void draw(Draw drawing) {
    QPainter painter(&image);
    painter.setFont(MainDialog::dialogFont());
    QtCanvas canvas(painter, image.size(), QColor(1, 2, 3));
    drawing(canvas);
  }
  QColor at(int x, int y) const { return QColor(image.pixel(x, y)); }

  QImage image;
};

TEST_F(AppQtCanvas, RectanglesLeaveOutTheirRightAndBottomEdges) {
  draw([](Canvas& c) { c.fillRect(Rect{2, 3, 6, 8}, kRed); });
  EXPECT_EQ(at(2, 3), kQtRed);
  EXPECT_EQ(at(5, 7), kQtRed);
  EXPECT_EQ(at(6, 7), kQtWhite);
  EXPECT_EQ(at(5, 8), kQtWhite);
  EXPECT_EQ(at(1, 3), kQtWhite);
  EXPECT_EQ(at(2, 2), kQtWhite);
  draw([](Canvas& c) { c.fillRect(Rect{10, 10, 10, 20}, kRed); });  // empty
  EXPECT_EQ(at(10, 10), kQtWhite);
}

TEST_F(AppQtCanvas, LinesAreOnePixelWideAndLeaveOutTheirLastPoint) {
  draw([](Canvas& c) {
    c.drawLine(0, 0, 5, 0, kBlack);
    c.drawLine(5, 2, 0, 2, kBlack);
    c.drawLine(3, 10, 3, 14, kBlack);
    c.drawLine(20, 20, 20, 20, kBlack);
  });
  for (int x = 0; x < 5; ++x) EXPECT_EQ(at(x, 0), kQtBlack) << x;
  EXPECT_EQ(at(5, 0), kQtWhite);
  EXPECT_EQ(at(0, 1), kQtWhite);  // one pixel wide
  for (int x = 1; x <= 5; ++x) EXPECT_EQ(at(x, 2), kQtBlack) << x;
  EXPECT_EQ(at(0, 2), kQtWhite);
  for (int y = 10; y < 14; ++y) EXPECT_EQ(at(3, y), kQtBlack) << y;
  EXPECT_EQ(at(3, 14), kQtWhite);
  EXPECT_EQ(at(2, 12), kQtWhite);
  EXPECT_EQ(at(4, 12), kQtWhite);
  EXPECT_EQ(at(20, 20), kQtWhite);  // a line of no length draws nothing
}

TEST_F(AppQtCanvas, TextIsCentredOnOneLineOverWhatIsThere) {
  draw([](Canvas& c) {
    c.fillRect(Rect{5, 5, 35, 25}, kYellow);
    c.drawCenteredText(Rect{5, 5, 35, 25}, "25", kBlack);
  });
  int left = 99, right = -1, top = 99, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
  }
  ASSERT_GE(right, left) << "no text drawn";
  EXPECT_GE(left, 5);
  EXPECT_LT(right, 35);
  EXPECT_NEAR((left + right) / 2.0, 20.0, 1.5);
  EXPECT_NEAR((top + bottom) / 2.0, 15.0, 2.5);
  // Transparent background: the fill shows around the digits.
  EXPECT_EQ(at(6, 6), kQtYellow);
  EXPECT_EQ(at(33, 23), kQtYellow);
}

TEST_F(AppQtCanvas, TheButtonFaceIsTheColourItWasGiven) {
  draw([](Canvas& c) { EXPECT_EQ(c.buttonFace(), (Rgb{1, 2, 3})); });
}

class AppBoardWidget : public ::testing::Test {
 protected:
  AppBoardWidget() {
    application();
    dialog = std::make_unique<MainDialog>();
    dialog->setProcedure(&procedure);
    own = qobject_cast<BoardWidget*>(dialog->control(IDC_OWN_BOARD));
    opponent = qobject_cast<BoardWidget*>(dialog->control(IDC_OPPONENT_BOARD));
    dialog->show();
    cellWidth = own->width() / 5;
    cellHeight = own->height() / 5;
  }
  ~AppBoardWidget() override { dialog->setProcedure(nullptr); }

  // Numbers 1..25 row by row.
  static Board countingBoard() {
    Board board;
    for (int i = 0; i < Board::kCells; ++i) board.setCell(i + 1, i % 5, i / 5);
    return board;
  }
  // A pixel just inside the top-left corner of a cell, clear of the grid and the number.
  QColor cellColour(const QImage& image, int column, int row) const {
    return pixel(image, column * cellWidth + 2, row * cellHeight + 2);
  }
  QPoint centreOf(int column, int row) const {
    return QPoint(column * cellWidth + cellWidth / 2, row * cellHeight + cellHeight / 2);
  }

  RecordingProcedure procedure;
  std::unique_ptr<MainDialog> dialog;
  BoardWidget* own = nullptr;
  BoardWidget* opponent = nullptr;
  int cellWidth = 0, cellHeight = 0;
};

TEST_F(AppBoardWidget, TheOwnBoardShowsPlainCalledAndLineCells) {
  procedure.own = countingBoard();
  for (int n : {1, 2, 3, 4, 5, 13}) procedure.own.mark(n);  // the top row is complete
  const QImage image = grabImage(*own);
  ASSERT_EQ(image.size(), own->size());
  for (int column = 0; column < 5; ++column) EXPECT_EQ(cellColour(image, column, 0), kQtRed);
  EXPECT_EQ(cellColour(image, 2, 2), kQtYellow);  // 13, called
  EXPECT_EQ(cellColour(image, 1, 1), kQtWhite);   // 7
  EXPECT_EQ(cellColour(image, 4, 4), kQtWhite);
  // The grid: black lines on the left and top edges and between the cells.
  EXPECT_EQ(pixel(image, 0, cellHeight + 2), kQtBlack);
  EXPECT_EQ(pixel(image, cellWidth, cellHeight + 2), kQtBlack);
  EXPECT_EQ(pixel(image, cellWidth + 2, 2 * cellHeight), kQtBlack);
  // ... and the frame closes it on the right and at the bottom.
  for (int y = 0; y < image.height(); ++y) EXPECT_EQ(pixel(image, image.width() - 1, y), kQtBlack);
  for (int x = 0; x < image.width(); ++x) EXPECT_EQ(pixel(image, x, image.height() - 1), kQtBlack);
  // Numbers: dark pixels inside a white cell, white ones inside a red cell.
  auto countInCell = [&](int column, int row, auto test) {
    int n = 0;
    for (int y = row * cellHeight + 1; y < (row + 1) * cellHeight; ++y) {
      for (int x = column * cellWidth + 1; x < (column + 1) * cellWidth; ++x) {
        n += test(pixel(image, x, y)) ? 1 : 0;
      }
    }
    return n;
  };
  EXPECT_GT(countInCell(1, 1, [](QColor c) { return c.lightness() < 100; }), 3);
  EXPECT_GT(countInCell(0, 0, [](QColor c) { return c.lightness() > 200; }), 3);
}

TEST_F(AppBoardWidget, AHiddenBoardShowsTheButtonFaceAndOnlyItsCompletedLines) {
  procedure.opponent = countingBoard();
  procedure.opponent.mark(9);
  QImage image = grabImage(*opponent);
  const QColor face = opponent->palette().color(QPalette::Button);
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      EXPECT_EQ(cellColour(image, column, row), face) << column << "," << row;
    }
  }
  EXPECT_EQ(pixel(image, cellWidth, 2), kQtBlack);  // the grid is there all the same

  for (int n : {5, 9, 13, 17, 21}) procedure.opponent.mark(n);  // the rising diagonal
  image = grabImage(*opponent);
  EXPECT_EQ(cellColour(image, 4, 0), kQtRed);
  EXPECT_EQ(cellColour(image, 0, 4), kQtRed);
  EXPECT_EQ(cellColour(image, 2, 2), kQtRed);
  EXPECT_EQ(cellColour(image, 0, 0), face);

  procedure.showOpponent = true;  // the match is decided
  image = grabImage(*opponent);
  EXPECT_EQ(cellColour(image, 0, 0), kQtWhite);
  EXPECT_EQ(cellColour(image, 4, 0), kQtRed);
}

TEST_F(AppBoardWidget, AnyButtonPressedOnTheOwnBoardPostsTheClickedCell) {
  QTest::mousePress(own, Qt::RightButton, Qt::NoModifier, centreOf(3, 1));
  QTest::mouseRelease(own, Qt::RightButton, Qt::NoModifier, centreOf(3, 1));
  EXPECT_TRUE(procedure.commands.empty());  // posted, not run inside the press
  QTest::mouseClick(own, Qt::LeftButton, Qt::NoModifier, centreOf(0, 4));
  QTest::mouseClick(own, Qt::MiddleButton, Qt::NoModifier, centreOf(4, 0));
  // The last pixel of a side still lies in the last cell.
  QTest::mouseClick(own, Qt::LeftButton, Qt::NoModifier,
                    QPoint(own->width() - 1, own->height() - 1));
  QTest::mouseClick(own, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
  ASSERT_TRUE(waitFor([&] { return procedure.commands.size() == 5; }));
  using C = RecordingProcedure::Command;
  EXPECT_EQ(procedure.commands[0], (C{CMD_OWN_BOARD_CLICK, 3 | 1u << 16}));
  EXPECT_EQ(procedure.commands[1], (C{CMD_OWN_BOARD_CLICK, 0 | 4u << 16}));
  EXPECT_EQ(procedure.commands[2], (C{CMD_OWN_BOARD_CLICK, 4 | 0u << 16}));
  EXPECT_EQ(procedure.commands[3], (C{CMD_OWN_BOARD_CLICK, 4 | 4u << 16}));
  EXPECT_EQ(procedure.commands[4], (C{CMD_OWN_BOARD_CLICK, 0}));  // the top left corner
}

TEST_F(AppBoardWidget, ReleasesDoubleClicksAndTheOpponentBoardMakeNoClick) {
  QTest::mouseRelease(own, Qt::LeftButton, Qt::NoModifier, centreOf(2, 2));
  QTest::mouseDClick(own, Qt::LeftButton, Qt::NoModifier, centreOf(2, 2));
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    QTest::mouseClick(opponent, button, Qt::NoModifier, QPoint(10, 10));
  }
  QTest::mouseDClick(opponent, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QApplication::processEvents();
  EXPECT_TRUE(procedure.commands.empty());
}

TEST_F(AppBoardWidget, ADoubleClickFromTheWindowSystemIsOneClick) {
  QApplication::setActiveWindow(dialog.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  const QPoint at = own->mapTo(dialog.get(), centreOf(1, 2));
  QTest::mouseDClick(dialog->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
  QApplication::processEvents();
  ASSERT_EQ(procedure.commands.size(), 1u);
  EXPECT_EQ(procedure.commands[0],
            (RecordingProcedure::Command{CMD_OWN_BOARD_CLICK, 1 | 2u << 16}));
}

}  // namespace
}  // namespace pentaro::testing
