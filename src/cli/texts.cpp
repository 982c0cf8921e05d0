// SPDX-License-Identifier: MIT
#include "cli/texts.h"

#include <clocale>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "runtime/codepage.h"
#include "runtime/platform.h"

#ifdef TOLVEX_EMBEDDED_CATALOGUE
#include "ru_catalogue.inc"  // kRuCatalogue: po/ru.po compiled by msgfmt, as bytes
#else
#include <libintl.h>
#endif

namespace tolvex::cli {

namespace {

constexpr const char* kDomain = "tolvex-cli";

#ifdef TOLVEX_EMBEDDED_CATALOGUE
// A compiled catalogue (.mo) read in place: the originals' and the translations' tables of
// lengths and offsets, the originals sorted.
struct Catalogue {
  const unsigned char* data = nullptr;
  std::size_t size = 0;

  std::uint32_t word(std::size_t at) const {
    if (at + 4 > size) return 0;
    return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 | std::uint32_t(data[at + 2]) << 16 |
           std::uint32_t(data[at + 3]) << 24;
  }
  std::string_view entry(std::uint32_t table, std::uint32_t i) const {
    std::uint32_t length = word(table + 8 * std::size_t(i)), offset = word(table + 8 * std::size_t(i) + 4);
    if (std::size_t(offset) + length > size) return {};
    return {reinterpret_cast<const char*>(data) + offset, length};
  }
  const char* find(const char* english) const {
    if (!data || word(0) != 0x950412deu) return nullptr;  // little-endian, as msgfmt writes it
    std::uint32_t n = word(8), originals = word(12), translations = word(16);
    for (std::uint32_t i = 0; i < n; ++i)
      if (entry(originals, i) == english) {
        std::string_view t = entry(translations, i);
        return t.empty() ? nullptr : t.data();
      }
    return nullptr;
  }
};

Catalogue catalogue;
#endif

}  // namespace

void choose_language() {
#ifdef TOLVEX_EMBEDDED_CATALOGUE
  if (runtime::user_interface_language() == "ru") catalogue = {kRuCatalogue, sizeof kRuCatalogue};
#else
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");  // numbers are read and written as the formats have them
  // The catalogues installed beside the program (<prefix>/share/locale), else the build tree's.
  std::filesystem::path installed = runtime::running_program_folder() / ".." / "share" / "locale";
  std::error_code ec;
  bool here = std::filesystem::exists(installed / "ru" / "LC_MESSAGES" / "tolvex-cli.mo", ec);
  bindtextdomain(kDomain, here ? installed.c_str() : TOLVEX_BUILD_LOCALE_DIR);
  bind_textdomain_codeset(kDomain, "UTF-8");
#endif
}

std::string utf8_text(const char* english) {
#ifdef TOLVEX_EMBEDDED_CATALOGUE
  const char* t = catalogue.find(english);
  return t ? t : english;
#else
  return dgettext(kDomain, english);
#endif
}

std::string text(const char* english, std::initializer_list<std::string_view> values) {
  std::string t = runtime::utf8_to_ansi(utf8_text(english)), out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '%' && i + 1 < t.size() && t[i + 1] >= '1' && t[i + 1] <= '9') {
      std::size_t k = static_cast<std::size_t>(t[i + 1] - '1');
      if (k < values.size()) {
        out += values.begin()[k];
        ++i;
        continue;
      }
    }
    out += t[i];
  }
  return out;
}

}  // namespace tolvex::cli
