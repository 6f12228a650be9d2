// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The words of the view events: the status line, the program's own chat-log lines, chat
// lines and the challenge question, made from the typed events of lobby_view.h. The one place
// where the headless and the Qt views turn events into text, in the language of the text table;
// CP932 in, CP932 out.
#ifndef PENTARO_UI_VIEW_TEXTS_H_
#define PENTARO_UI_VIEW_TEXTS_H_

#include <string>
#include <string_view>

#include "ui/lobby_view.h"

namespace pentaro {

std::string statusText(const Status& status);
std::string noticeText(const Notice& notice);
// "name : text".
std::string chatText(std::string_view name, std::string_view text);
// "name さんから対戦の申し込みです..." and the question box's caption.
std::string challengeQuestion(std::string_view name);
std::string questionCaption();
// A line from the host as the player reads it: its fixed greeting and its arrival and departure
// notices ("Xさんの登場です") in the player's language, anything else as sent.
std::string hostMessageText(std::string_view text);
// A text table's format with its one %d filled in, whatever the length of its translation.
std::string formatNumber(const std::string& pattern, int number);

}  // namespace pentaro

#endif  // PENTARO_UI_VIEW_TEXTS_H_
