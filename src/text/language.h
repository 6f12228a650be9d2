// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's language: the gettext catalog "pentaro" chosen by the locale (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG), its msgids the Japanese source texts, which are also the fallback.
// startLanguage() runs once at the start of main, before any text is read and before threads
// start; afterwards every function here is thread-safe.
#ifndef PENTARO_TEXT_LANGUAGE_H_
#define PENTARO_TEXT_LANGUAGE_H_

#include <string>

namespace pentaro {

inline constexpr char kTextDomain[] = "pentaro";
// Overrides where the catalogs are looked for (<dir>/<lang>/LC_MESSAGES/pentaro.mo).
inline constexpr char kLocaleDirVariable[] = "PENTARO_LOCALEDIR";

// Chooses the language from the environment and binds the catalog. Only LC_MESSAGES is set from
// the environment, so number formatting and character classes stay as they were. A program that
// never calls it (the tests) shows the Japanese source texts whatever the locale.
void startLanguage();

// Marks a msgid for the catalog where the text is only looked up later (a table of pointers).
constexpr const char* translatable(const char* msgid) { return msgid; }

// The catalog's text for a msgid (the msgid itself when there is none), in UTF-8. A printf format
// keeps its arguments: the compiler checks them against the msgid, msgfmt the translation.
__attribute__((format_arg(1))) const char* localizedUtf8(const char* msgid);

// The same, in CP932, as the views and the text table hold texts.
std::string localized(const char* msgid);

// The language of the catalog in use ("en"), or "ja" when the Japanese source texts are shown.
std::string currentLanguage();

}  // namespace pentaro

#endif  // PENTARO_TEXT_LANGUAGE_H_
