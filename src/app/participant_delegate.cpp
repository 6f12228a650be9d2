// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/participant_delegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

namespace pentaro {
namespace {

// What the participant model puts between a player and the opponent.
const QString kMatchMark = QStringLiteral(" ★ ");
// Whole-pixel widths of the parts may add up to a little less than the line drawn from them.
constexpr int kRoundingSlack = 2;

QString fitted(const QString& name, int nameWidth, int room, const QFontMetrics& metrics) {
  return nameWidth <= room ? name : metrics.elidedText(name, Qt::ElideMiddle, room);
}

}  // namespace

QString ParticipantDelegate::shortened(const QString& line, const QFontMetrics& metrics,
                                       int width) {
  if (width <= 0 || metrics.horizontalAdvance(line) <= width) return line;
  const qsizetype at = line.indexOf(kMatchMark);
  if (at < 0) return metrics.elidedText(line, Qt::ElideMiddle, width);
  const QString left = line.left(at), right = line.mid(at + kMatchMark.size());
  const int room = width - metrics.horizontalAdvance(kMatchMark) - kRoundingSlack;
  // Half the room each; a name narrower than its half leaves the rest to the other.
  const int leftWidth = metrics.horizontalAdvance(left);
  const int rightWidth = metrics.horizontalAdvance(right);
  int leftRoom = room / 2, rightRoom = room - leftRoom;
  if (leftWidth < leftRoom) {
    rightRoom += leftRoom - leftWidth;
    leftRoom = leftWidth;
  } else if (rightWidth < rightRoom) {
    leftRoom += rightRoom - rightWidth;
    rightRoom = rightWidth;
  }
  return fitted(left, leftWidth, leftRoom, metrics) + kMatchMark +
         fitted(right, rightWidth, rightRoom, metrics);
}

void ParticipantDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  // The style draws the text inside a margin on either side of the line.
  const QStyle* style = option->widget != nullptr ? option->widget->style() : QApplication::style();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
  // Sizes are asked without a rectangle: the text stays whole for them.
  if (option->rect.width() > 0) {
    option->text = shortened(option->text, option->fontMetrics, option->rect.width() - 2 * margin);
  }
}

}  // namespace pentaro
