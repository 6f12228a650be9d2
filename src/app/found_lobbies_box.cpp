// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/found_lobbies_box.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMetaObject>
#include <QSignalBlocker>
#include <QStandardItemModel>

#include "app/qt_text.h"
#include "text/texts.h"
#include "ui/view_texts.h"

namespace pentaro {
namespace {

constexpr int kPopupMarginPixels = 24;  // room for the scroll bar beside the widest line
QString formatted(const std::string& format, int number) {
  return toQString(formatNumber(format, number));
}

// "花子  192.168.1.20  3人" (and the port when it is not the window's).
QString lobbyLine(const FoundLobby& lobby, int port) {
  QString line = QString::fromStdString(lobby.name) + QStringLiteral("  ") +
                 QString::fromStdString(lobby.address);
  if (lobby.players >= 0) {
    line += QStringLiteral("  ") + formatted(texts().foundLobbyPlayersFormat, lobby.players);
  }
  if (lobby.port != port) {
    line += QStringLiteral("  ") + formatted(texts().foundLobbyOtherPortFormat, lobby.port);
  }
  return line;
}

}  // namespace

FoundLobbiesBox::FoundLobbiesBox(QLineEdit& addressEdit, LobbyView& view, int port)
    : QComboBox(addressEdit.parentWidget()), view_(view), port_(port) {
  setGeometry(addressEdit.geometry());
  setEditable(true);
  setLineEdit(&addressEdit);
  // Without a completer, typing never turns into a found lobby's line; with the placeholder,
  // a first lobby found is not picked by itself.
  setCompleter(nullptr);
  setInsertPolicy(QComboBox::NoInsert);
  setPlaceholderText(toQString(texts().foundLobbiesName));
  setAccessibleName(toQString(texts().foundLobbiesName));
  // The edit keeps the focus and its place in the tab order, as it had before the box came: a
  // combo box would hand it to itself and sit last in the tab order. Keys the edit leaves
  // (Alt+Down, F4, Up, Down) still reach the box, its parent.
  addressEdit.setFocusProxy(nullptr);
  setFocusPolicy(Qt::NoFocus);
  connect(this, &QComboBox::activated, this, &FoundLobbiesBox::pick);

  // The browser's worker tells of a change; the list is rebuilt on the UI thread.
  lobbies_.setListener([this] {
    QMetaObject::invokeMethod(
        this, [this] { refresh(); }, Qt::QueuedConnection);
  });
  refresh();
  show();
}

FoundLobbiesBox::~FoundLobbiesBox() { browser_.reset(); }

void FoundLobbiesBox::startBrowsing() {
  if (browser_) return;
  browser_ = std::make_unique<LobbyBrowser>(lobbies_);
  browser_->start();
}

void FoundLobbiesBox::showPopup() {
  // While connected or hosting the address cannot change, so there is nothing to pick.
  if (lineEdit() != nullptr && !lineEdit()->isEnabledTo(this)) return;
  QComboBox::showPopup();
}

void FoundLobbiesBox::refresh() {
  const FoundLobbies::State state = lobbies_.state();
  if (state == FoundLobbies::State::kUnavailable && !toldUnavailable_) {
    toldUnavailable_ = true;
    view_.noticeAdded({.kind = Notice::Kind::kLobbiesNotFoundAutomatically});
  } else if (state == FoundLobbies::State::kAvailable) {
    toldUnavailable_ = false;
  }

  // Rebuilding never touches the typed address: no item is ever current.
  QLineEdit* edit = lineEdit();
  const QString typed = edit->text();
  const int cursor = edit->cursorPosition();
  {
    const QSignalBlocker blocker(this);
    clear();
    const std::vector<FoundLobby> found = lobbies_.lobbies();
    for (const FoundLobby& lobby : found) {
      addItem(lobbyLine(lobby, port_), QString::fromStdString(lobby.address));
      setItemData(count() - 1, QString::fromStdString(lobby.hostName), Qt::ToolTipRole);
      if (lobby.port != port_) {
        qobject_cast<QStandardItemModel*>(model())->item(count() - 1)->setEnabled(false);
      }
    }
    if (found.empty()) {
      addItem(toQString(state == FoundLobbies::State::kUnavailable ? texts().lobbiesNotSearchable
                                                                   : texts().noLobbyFound));
      qobject_cast<QStandardItemModel*>(model())->item(0)->setEnabled(false);
    }
    setCurrentIndex(-1);
  }
  if (edit->text() != typed) {
    edit->setText(typed);
    edit->setCursorPosition(cursor);
  }
  view()->setMinimumWidth(view()->sizeHintForColumn(0) + kPopupMarginPixels);
}

void FoundLobbiesBox::pick(int index) {
  const QString address = itemData(index, kAddressRole).toString();
  QLineEdit* edit = lineEdit();
  {
    const QSignalBlocker blocker(this);
    setCurrentIndex(-1);
  }
  if (!address.isEmpty()) edit->setText(address);
  edit->setFocus();
}

}  // namespace pentaro
