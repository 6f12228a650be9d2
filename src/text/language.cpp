// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/language.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "text/cp932.h"

namespace pentaro {
namespace {

constexpr char kSourceLanguage[] = "ja";
// The views convert to CP932 themselves; the catalog's bytes are asked for in UTF-8 whatever the
// locale's character set.
constexpr char kCatalogCodeset[] = "UTF-8";
// Built into every glibc; gettext honours LANGUAGE in it (in plain "C" it does not).
constexpr char kFallbackLocale[] = "C.UTF-8";
constexpr std::string_view kLanguageHeader = "Language: ";

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// The locale the environment asks for messages, in gettext's order.
std::string_view requestedLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (isSet(name)) return std::getenv(name);
  }
  return {};
}

// "en_US" of "en_US.UTF-8@euro"; nothing for C and POSIX.
std::string languageOf(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  if (locale == "C" || locale == "POSIX") return {};
  return std::string(locale);
}

// A program run from the build folder (build/src/app/pentaro, build/tests/text/...) reads the
// catalogs that build made; an installed one those beside its own folder (/usr/games/pentaro:
// /usr/share/locale), wherever the package put it.
std::string localeDir() {
  if (isSet(kLocaleDirVariable)) return std::getenv(kLocaleDirVariable);
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return PENTARO_INSTALL_LOCALEDIR;
  const std::filesystem::path folder = program.parent_path();
  const std::filesystem::path buildDir = folder.parent_path().parent_path();
  if (std::filesystem::exists(buildDir / "CMakeCache.txt", error)) {
    return (buildDir / "locale").string();
  }
  return (folder / PENTARO_LOCALEDIR_FROM_BINDIR).lexically_normal().string();
}

}  // namespace

void startLanguage() {
  if (std::setlocale(LC_MESSAGES, "") == nullptr) {
    // The locale asked for is not generated here (a fresh system has only C.UTF-8). Its language
    // is still followed: gettext reads LANGUAGE in any locale but "C".
    const std::string language = languageOf(requestedLocale());
    std::setlocale(LC_MESSAGES, kFallbackLocale);
    if (!language.empty() && !isSet("LANGUAGE")) ::setenv("LANGUAGE", language.c_str(), 0);
  }
  bindtextdomain(kTextDomain, localeDir().c_str());
  bind_textdomain_codeset(kTextDomain, kCatalogCodeset);
  textdomain(kTextDomain);
}

const char* localizedUtf8(const char* msgid) { return dgettext(kTextDomain, msgid); }

std::string localized(const char* msgid) { return cp932::fromUtf8(localizedUtf8(msgid)); }

std::string currentLanguage() {
  // The header of the catalog found (msgid ""), with its "Language: en" line; none when the
  // source texts are shown.
  const std::string_view header = dgettext(kTextDomain, "");
  const std::size_t at = header.find(kLanguageHeader);
  if (at == std::string_view::npos) return kSourceLanguage;
  std::string_view value = header.substr(at + kLanguageHeader.size());
  value = value.substr(0, value.find('\n'));
  return value.empty() ? std::string(kSourceLanguage) : std::string(value);
}

}  // namespace pentaro
