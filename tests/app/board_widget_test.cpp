// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The boards on screen: the Qt canvas keeps the classic drawing rules, the painted widgets show
// the game's colours in a closed grid, and presses on the own board become cell clicks.
#include "app/board_widget.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

#include "app/app_test_support.h"
#include "app/qt_canvas.h"

namespace pentaro::testing {
namespace {

TEST(AppQtCanvas, RectanglesLinesAndTextFollowTheClassicRules) {
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setFont(MainDialog::dialogFont());
    QtCanvas canvas(painter, image.size(), QColor(1, 2, 3));
    EXPECT_EQ(canvas.buttonFace(), (Rgb{1, 2, 3}));
    canvas.fillRect(Rect{2, 3, 6, 8}, kRed);  // right and bottom edges left out
    canvas.drawLine(10, 0, 15, 0, kBlack);    // last point left out, both ways
    canvas.drawLine(15, 2, 10, 2, kBlack);
    canvas.drawLine(3, 10, 3, 14, kBlack);
    canvas.fillRect(Rect{15, 5, 40, 30}, kYellow);
    canvas.drawCenteredText(Rect{15, 5, 40, 30}, "25", kBlack);
  }
  auto at = [&](int x, int y) { return QColor(image.pixel(x, y)); };
  EXPECT_EQ(at(2, 3), QColor(Qt::red));
  EXPECT_EQ(at(5, 7), QColor(Qt::red));
  EXPECT_EQ(at(6, 7), QColor(Qt::white));
  EXPECT_EQ(at(5, 8), QColor(Qt::white));
  for (int x = 10; x <= 15; ++x) {
    EXPECT_EQ(at(x, 0), x < 15 ? QColor(Qt::black) : QColor(Qt::white)) << x;
    EXPECT_EQ(at(x, 2), x > 10 ? QColor(Qt::black) : QColor(Qt::white)) << x;
    EXPECT_EQ(at(x, 1), QColor(Qt::white)) << x;  // one pixel wide
  }
  EXPECT_EQ(at(3, 13), QColor(Qt::black));
  EXPECT_EQ(at(3, 14), QColor(Qt::white));
  QRect ink;
  for (int y = 5; y < image.height(); ++y) {
    for (int x = 15; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    }
  }
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(ink.center().x(), 27, 1.5);  // centred on one line
  EXPECT_NEAR(ink.center().y(), 17, 2.5);
  EXPECT_EQ(at(16, 6), QColor(Qt::yellow));  // a transparent background
}

class AppBoardWidget : public DialogTest {
 protected:
  AppBoardWidget() {
    dialog.show();
    for (int i = 0; i < Board::kCells; ++i) {
      procedure.own.setCell(i + 1, i % 5, i / 5);
      procedure.opponent.setCell(i + 1, i % 5, i / 5);
    }
  }
  // A pixel just inside a cell's top left corner, clear of the grid and the number.
  QColor colour(const QImage& image, int column, int row) const {
    return QColor(image.pixel(column * image.width() / 5 + 2, row * image.height() / 5 + 2));
  }
  QPoint centre(int column, int row) {
    const QSize cell = control(IDC_OWN_BOARD)->size() / 5;
    return QPoint(column * cell.width() + cell.width() / 2,
                  row * cell.height() + cell.height() / 2);
  }
};

TEST_F(AppBoardWidget, ShowsPlainCalledAndLineCellsAndAHiddenBoardsLinesOnly) {
  for (int n : {1, 2, 3, 4, 5, 13}) procedure.own.mark(n);  // the top row is complete
  const QImage own = grabImage(*control(IDC_OWN_BOARD));
  for (int column = 0; column < 5; ++column) EXPECT_EQ(colour(own, column, 0), QColor(Qt::red));
  EXPECT_EQ(colour(own, 2, 2), QColor(Qt::yellow));
  EXPECT_EQ(colour(own, 1, 1), QColor(Qt::white));
  EXPECT_EQ(QColor(own.pixel(own.width() / 5, 30)), QColor(Qt::black));  // the grid
  for (int i = 0; i < own.width() && i < own.height(); ++i) {  // closed on the right and below
    EXPECT_EQ(QColor(own.pixel(own.width() - 1, i)), QColor(Qt::black)) << i;
    EXPECT_EQ(QColor(own.pixel(i, own.height() - 1)), QColor(Qt::black)) << i;
  }
  // The frame of the side to move has its corners closed, the bottom right one too.
  procedure.ownMarks.toMove = true;
  const QImage framed = grabImage(*control(IDC_OWN_BOARD));
  const int w = framed.width(), h = framed.height();
  for (int k = 1; k < kTurnFrameWidth; ++k) {  // the outermost ring lies under the black edge
    for (const QPoint corner :
         {QPoint(k, k), QPoint(w - 1 - k, k), QPoint(k, h - 1 - k), QPoint(w - 1 - k, h - 1 - k)}) {
      EXPECT_EQ(QColor(framed.pixel(corner)), QColor(Qt::blue)) << corner.x() << "," << corner.y();
    }
  }

  QWidget* opponent = control(IDC_OPPONENT_BOARD);
  const QColor face = opponent->palette().color(QPalette::Button);
  for (int n : {5, 9, 13, 17, 21}) procedure.opponent.mark(n);  // the rising diagonal
  const QImage hidden = grabImage(*opponent);
  EXPECT_EQ(colour(hidden, 4, 0), QColor(Qt::red));
  EXPECT_EQ(colour(hidden, 2, 2), QColor(Qt::red));
  EXPECT_EQ(colour(hidden, 3, 0), face);
  EXPECT_EQ(colour(hidden, 0, 0), face);
  procedure.showOpponent = true;
  EXPECT_EQ(colour(grabImage(*opponent), 0, 0), QColor(Qt::white));
}

TEST_F(AppBoardWidget, AnyButtonOnTheOwnBoardClicksOneCellLaterAndNothingElseDoes) {
  QWidget* own = control(IDC_OWN_BOARD);
  QTest::mousePress(own, Qt::RightButton, {}, centre(3, 1));
  EXPECT_TRUE(procedure.cells.empty());  // handed on later, not inside the press
  QTest::mouseRelease(own, Qt::RightButton, {}, centre(3, 1));
  QTest::mouseClick(own, Qt::MiddleButton, {}, centre(4, 0));
  QTest::mouseClick(own, Qt::LeftButton, {}, QPoint(own->width() - 1, own->height() - 1));
  QTest::mouseDClick(own, Qt::LeftButton, {}, centre(2, 2));
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    QTest::mouseClick(control(IDC_OPPONENT_BOARD), button, {}, QPoint(10, 10));
  }
  // A double click from the window system: its second press is no click.
  showActive();
  QTest::mouseDClick(dialog.windowHandle(), Qt::LeftButton, {}, own->mapTo(&dialog, centre(1, 2)));
  QApplication::processEvents();
  EXPECT_TRUE(procedure.commands.empty());
  EXPECT_EQ(procedure.cells,
            (std::vector<RecordingProcedure::Cell>{{3, 1}, {4, 0}, {4, 4}, {1, 2}}));
}

TEST_F(AppBoardWidget, TheOwnBoardReachedByTabMovesItsCursorWithArrowsAndClicksWithSpaceOrEnter) {
  showActive();
  QWidget* own = control(IDC_OWN_BOARD);
  QTest::mouseClick(own, Qt::LeftButton, {}, centre(1, 1));
  EXPECT_FALSE(own->hasFocus());  // a click leaves the focus in the chat input
  EXPECT_EQ(control(IDC_OPPONENT_BOARD)->focusPolicy(), Qt::NoFocus);
  own->setFocus(Qt::TabFocusReason);
  const struct {
    std::vector<Qt::Key> keys;
    RecordingProcedure::Cell clicked;
  } steps[] = {
      {{Qt::Key_Space}, {0, 0}},
      {{Qt::Key_Left, Qt::Key_Up, Qt::Key_Return}, {0, 0}},  // the cursor stays on the board
      {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Enter}, {2, 1}},
      {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right,
        Qt::Key_Right, Qt::Key_Space},
       {4, 4}},
  };
  std::vector<RecordingProcedure::Cell> expected = {{1, 1}};
  for (const auto& step : steps) {
    for (Qt::Key key : step.keys) QTest::keyClick(own, key);
    expected.push_back(step.clicked);
  }
  QApplication::processEvents();
  EXPECT_TRUE(procedure.commands.empty());  // Enter stays with the board: no chat is sent
  EXPECT_EQ(procedure.cells, expected);

  // The cursor cell (4, 4) gets a dashed frame while the board has a focus that came from the
  // keyboard, and only then; it lies inside the blue frame of the last call, which stays whole.
  procedure.own.mark(25);  // the number in cell (4, 4)
  procedure.ownMarks.lastCall = 25;
  const QSize cell = own->size() / 5;
  const QPoint corner(4 * cell.width(), 4 * cell.height());
  auto cursorInk = [&] {  // black pixels near the cell's top and left, clear of the number
    const QImage image = grabImage(*own);
    auto black = [&](QPoint at) { return QColor(image.pixel(corner + at)).value() < 100; };
    int ink = 0;
    for (int k = 3; k < cell.width() - 3; ++k) {
      for (int edge = 3; edge <= 5; ++edge) ink += black(QPoint(k, edge)) + black(QPoint(edge, k));
    }
    return ink;
  };
  const int frame = cursorInk();
  EXPECT_GT(frame, cell.width() / 2);
  EXPECT_LT(frame, 2 * (cell.width() - 7) - 4);  // dashed: solid lines would fill both sides
  const QImage framed = grabImage(*own);
  EXPECT_EQ(QColor(framed.pixel(corner + QPoint(1, cell.height() / 2))), QColor(Qt::blue));
  EXPECT_EQ(QColor(framed.pixel(corner + QPoint(cell.width() / 2, 2))), QColor(Qt::blue));
  control(IDC_CHAT_INPUT)->setFocus();
  EXPECT_EQ(cursorInk(), 0);
  own->setFocus(Qt::OtherFocusReason);  // as Qt moves it from a control being disabled
  EXPECT_EQ(cursorInk(), 0);
  QTest::keyClick(own, Qt::Key_Right);  // but the keys show it
  EXPECT_EQ(cursorInk(), frame);
}

}  // namespace
}  // namespace pentaro::testing
