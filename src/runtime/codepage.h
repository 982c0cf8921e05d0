// SPDX-License-Identifier: MIT
// Text inside the converter is Windows-1251 bytes, one byte per character, exactly as in the
// files. These helpers convert at the edges: OEM 866 to 1251 when a pack line is read, 1251 to
// UTF-8 for the terminal and the windows, UTF-8 to 1251 for names typed by an operator.
// Russian constants are written in the source as UTF-8 literals with the suffix _w and turned
// into 1251 bytes at compile time; a character that 1251 lacks does not compile.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/codepage_tables.h"

namespace tolvex::runtime {

// Converts a buffer of code page 866 bytes to Windows-1251 in place. Every byte goes through
// the table (the lower half maps to itself), so that text mixing Latin and Cyrillic letters
// costs no branch per byte.
inline void oem_to_ansi_in_place(char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i)
    data[i] = static_cast<char>(tables::oem_to_ansi[static_cast<unsigned char>(data[i])]);
}

// Copies `size` bytes of code page 866 text to `to` as Windows-1251.
void oem_to_ansi_copy(const char* from, char* to, std::size_t size);

// Windows-1251 text in code page 866 (a character 866 lacks becomes "?"): the form in which
// packs are stored.
char ansi_to_oem(char c);
std::string ansi_to_oem(std::string_view ansi);

// A file name holds characters that Windows-1251 lacks (prog_ł, DIR_☃). Inside the converter
// such a character is kept in its text as an escape: the byte 1251 leaves undefined (0x98),
// then the character's UTF-8 bytes (or, for a name that is not UTF-8, the one byte of the
// name). No pack text, literal or typed text ever holds that byte, so a name goes through the
// converter's text and back unchanged; the journal and the console show an escape as "?".
inline constexpr char kNameEscape = '\x98';
// The length of the escape at `i` of `text`, the escape byte included; 0 when there is none.
std::size_t escape_length(std::string_view text, std::size_t i);
// Whether `text` holds an escape.
bool has_escape(std::string_view text);

// Windows-1251 text as UTF-8 (a byte that 1251 leaves undefined becomes U+FFFD); an escape
// gives back the bytes it keeps.
std::string ansi_to_utf8(std::string_view ansi);
// A file name (UTF-8, or any bytes) as Windows-1251 text, a character 1251 lacks kept as an
// escape.
std::string name_to_ansi(std::string_view name);

// UTF-8 text as Windows-1251; a character that 1251 lacks, or a malformed sequence, becomes "?".
std::string utf8_to_ansi(std::string_view utf8);

// The Unicode code point of a Windows-1251 byte (U+FFFD for the byte 1251 leaves undefined).
char32_t ansi_to_unicode(char c);
// The Windows-1251 byte of a code point; false when the code page has none.
bool unicode_to_ansi(char32_t cp, char& out);
// Windows-1251 text as UTF-16, for the wide API of Windows' windows (a byte that 1251 leaves
// undefined becomes U+FFFD); and back, a character that 1251 lacks or a lone surrogate becoming "?".
std::u16string ansi_to_utf16(std::string_view ansi);
std::string utf16_to_ansi(std::u16string_view utf16);

// Upper case of a Windows-1251 letter, Latin and Cyrillic (Ё and ё included).
char ansi_upper(char c);
// The upper case of a whole text, written to `out` (as many bytes as the text has).
void ansi_upper(std::string_view text, char* out);

namespace detail {

template <std::size_t N>
struct Utf8Literal {
  char text[N]{};
  consteval Utf8Literal(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
  }
};

template <std::size_t N>
struct AnsiText {
  char data[N]{};
  std::size_t size = 0;
};

consteval unsigned char ansi_byte_of(char32_t cp) {
  if (cp < 0x80) return static_cast<unsigned char>(cp);
  for (unsigned b = 0x80; b < 0x100; ++b)
    if (tables::cp1251_to_unicode[b] == cp && cp != 0xFFFD) return static_cast<unsigned char>(b);
  throw "character outside Windows-1251";  // not a constant expression: a compile error
}

template <std::size_t N>
consteval AnsiText<N> to_ansi(const Utf8Literal<N>& lit) {
  AnsiText<N> out;
  std::size_t i = 0;
  while (i + 1 < N) {  // the last char is the terminating NUL
    auto c = static_cast<unsigned char>(lit.text[i]);
    char32_t cp = 0;
    int extra = 0;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else {
      throw "malformed or unsupported UTF-8 in a constant";
    }
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(lit.text[i + k]) & 0x3F);
    i += 1 + extra;
    out.data[out.size++] = static_cast<char>(ansi_byte_of(cp));
  }
  return out;
}

template <Utf8Literal S>
struct AnsiConstant {
  static constexpr AnsiText<sizeof(S.text)> value = to_ansi(S);
};

}  // namespace detail

namespace literals {
// "ЗГЛВ"_w is the Windows-1251 text of the UTF-8 literal, made at compile time.
template <detail::Utf8Literal S>
consteval std::string_view operator""_w() {
  return {detail::AnsiConstant<S>::value.data, detail::AnsiConstant<S>::value.size};
}
}  // namespace literals

}  // namespace tolvex::runtime
