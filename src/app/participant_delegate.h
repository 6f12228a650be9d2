// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How the participant list draws a line too wide for it: "name ★ opponent" keeps its star and
// shortens each name in its middle, so that both names keep their ends; any other line shortens in
// its middle. The line's text stays whole (for screen readers and the tooltip). Owned by the list
// through its Qt parent; UI thread only.
#ifndef PENTARO_APP_PARTICIPANT_DELEGATE_H_
#define PENTARO_APP_PARTICIPANT_DELEGATE_H_

#include <QStyledItemDelegate>

class QFontMetrics;

namespace pentaro {

class ParticipantDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // `line` as it fits into `width` pixels of `metrics`.
  static QString shortened(const QString& line, const QFontMetrics& metrics, int width);

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace pentaro

#endif  // PENTARO_APP_PARTICIPANT_DELEGATE_H_
