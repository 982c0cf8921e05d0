// SPDX-License-Identifier: MIT
#include "runtime/codepage.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tolvex::runtime {

// The conversion of pack lines relies on it: the lower half of code page 866 is that of 1251.
static_assert([] {
  for (unsigned b = 0; b < 0x80; ++b)
    if (tables::oem_to_ansi[b] != b) return false;
  return true;
}());

void oem_to_ansi_copy(const char* from, char* to, std::size_t size) {
  // Eight bytes at a time: a run of Latin letters, digits and punctuation (the lower half, the
  // same in both code pages) is copied as it is.
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t x;
    std::memcpy(&x, from + i, 8);
    if ((x & 0x8080808080808080ULL) == 0) {
      std::memcpy(to + i, &x, 8);
      continue;
    }
    for (std::size_t k = i; k < i + 8; ++k)
      to[k] = static_cast<char>(tables::oem_to_ansi[static_cast<unsigned char>(from[k])]);
  }
  for (; i < size; ++i) to[i] = static_cast<char>(tables::oem_to_ansi[static_cast<unsigned char>(from[i])]);
}

namespace {

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Windows-1251 byte of a code point, or "?" when the code page has none.
char ansi_of(char32_t cp) {
  if (cp < 0x80) return static_cast<char>(cp);
  if (cp >= 0x410 && cp <= 0x44F) return static_cast<char>(0xC0 + (cp - 0x410));
  for (unsigned b = 0x80; b < 0x100; ++b)
    if (tables::cp1251_to_unicode[b] == cp && cp != 0xFFFD) return static_cast<char>(b);
  return '?';
}

}  // namespace

char32_t ansi_to_unicode(char c) { return tables::cp1251_to_unicode[static_cast<unsigned char>(c)]; }

bool unicode_to_ansi(char32_t cp, char& out) {
  out = ansi_of(cp);
  return out != '?' || cp == '?';
}

char ansi_to_oem(char c) {
  static const auto table = [] {
    std::array<char, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = b < 0x80 ? static_cast<char>(b) : '?';
    for (int b = 0x80; b < 256; ++b) {
      auto a = tables::oem_to_ansi[b];
      if (a != '?' && t[a] == '?') t[a] = static_cast<char>(b);
    }
    return t;
  }();
  return table[static_cast<unsigned char>(c)];
}

std::string ansi_to_oem(std::string_view ansi) {
  std::string out(ansi);
  for (auto& c : out) c = ansi_to_oem(c);
  return out;
}

namespace {

// The length of the UTF-8 sequence of a character past ASCII at `i`; 0 when there is none.
std::size_t utf8_sequence(std::string_view s, std::size_t i) {
  auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned c = b(i);
  std::size_t n = c >= 0xC2 && c <= 0xDF ? 2 : (c & 0xF0) == 0xE0 ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((b(i + k) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

std::size_t escape_length(std::string_view text, std::size_t i) {
  if (i + 1 >= text.size() || text[i] != kNameEscape) return 0;
  if (std::size_t n = utf8_sequence(text, i + 1)) return 1 + n;
  return static_cast<unsigned char>(text[i + 1]) >= 0x80 ? 2 : 0;
}

bool has_escape(std::string_view text) {
  for (std::size_t i = text.find(kNameEscape); i != std::string_view::npos; i = text.find(kNameEscape, i + 1))
    if (escape_length(text, i)) return true;
  return false;
}

std::string ansi_to_utf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() * 2);
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    if (std::size_t n = ansi[i] == kNameEscape ? escape_length(ansi, i) : 0) {
      out.append(ansi.substr(i + 1, n - 1));
      i += n - 1;
      continue;
    }
    append_utf8(out, tables::cp1251_to_unicode[static_cast<unsigned char>(ansi[i])]);
  }
  return out;
}

std::string name_to_ansi(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      out.push_back(name[i++]);
      continue;
    }
    std::size_t n = utf8_sequence(name, i);
    if (n == 0) {  // not UTF-8: the byte itself
      out.push_back(kNameEscape);
      out.push_back(name[i++]);
      continue;
    }
    std::string one = utf8_to_ansi(name.substr(i, n));
    if (one != "?") {
      out += one;
    } else {
      out.push_back(kNameEscape);
      out.append(name.substr(i, n));
    }
    i += n;
  }
  return out;
}

std::u16string ansi_to_utf16(std::string_view ansi) {
  std::u16string out(ansi.size(), u'\0');
  for (std::size_t i = 0; i < ansi.size(); ++i) out[i] = tables::cp1251_to_unicode[static_cast<unsigned char>(ansi[i])];
  return out;
}

std::string utf16_to_ansi(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char16_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDFFF) {
      // A pair stands for one character outside the code page.
      if (c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) ++i;
      out.push_back('?');
      continue;
    }
    out.push_back(ansi_of(c));
  }
  return out;
}

std::string utf8_to_ansi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto c = static_cast<unsigned char>(utf8[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= utf8.size()) {
      out.push_back('?');
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      auto n = static_cast<unsigned char>(utf8[i + k]);
      if ((n & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (n & 0x3F);
    }
    if (!ok) {
      out.push_back('?');
      ++i;
      continue;
    }
    out.push_back(ansi_of(cp));
    i += 1 + extra;
  }
  return out;
}

namespace {

constexpr std::array<unsigned char, 256> make_upper_table() {
  std::array<unsigned char, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<unsigned char>(b);
  for (int b = 'a'; b <= 'z'; ++b) t[b] = static_cast<unsigned char>(b - 32);
  for (int b = 0xE0; b <= 0xFF; ++b) t[b] = static_cast<unsigned char>(b - 32);  // а..я -> А..Я
  // The other Cyrillic letters of the code page, lower case -> upper case (ё, є, ї, ў, і ...).
  constexpr unsigned char pairs[][2] = {{0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D},
                                        {0x9E, 0x8E}, {0x9F, 0x8F}, {0xA2, 0xA1}, {0xBC, 0xA3}, {0xB4, 0xA5},
                                        {0xB8, 0xA8}, {0xBA, 0xAA}, {0xBF, 0xAF}, {0xB3, 0xB2}, {0xBE, 0xBD}};
  for (const auto& p : pairs) t[p[0]] = p[1];
  return t;
}

constexpr auto kUpper = make_upper_table();

}  // namespace

char ansi_upper(char c) { return static_cast<char>(kUpper[static_cast<unsigned char>(c)]); }

void ansi_upper(std::string_view text, char* out) {
  for (char c : text) *out++ = static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
}

}  // namespace tolvex::runtime
