// SPDX-License-Identifier: MIT
// Records of a format-4 pack as data: a record layout is a table of field names and widths, and
// a record is one blank-padded buffer holding the fields one after another. Every record of the
// format (ZAG4, IST4, ANK1, STG1 ...) is declared as such a table; the splitter fills any of
// them, so adding a record is adding a table. A converter names its fields (`r["FIO1"]`); each
// name is looked up in the table when the program is compiled, so a name the table lacks does
// not compile and reading a field costs no look-up at run time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace tolvex::core {

struct FieldDef {
  std::string_view name;  // "FIO1"
  std::size_t width;      // in characters (Windows-1251 bytes)
};

// A record layout: its name ("ANK1") and its fields in order.
struct RecordLayout {
  std::string_view name;
  std::span<const FieldDef> fields;

  constexpr std::size_t width() const {
    std::size_t w = 0;
    for (const auto& f : fields) w += f.width;
    return w;
  }
  // The number of a field by its name; npos for a name the layout lacks.
  constexpr std::size_t index(std::string_view field) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
      if (fields[i].name == field) return i;
    return npos;
  }
  // Where field `i` begins in the record's buffer.
  constexpr std::size_t offset(std::size_t i) const {
    std::size_t at = 0;
    for (std::size_t k = 0; k < i; ++k) at += fields[k].width;
    return at;
  }
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
};

// --- text helpers shared by every record and writer ---------------------------------------

// The value without its trailing blanks.
constexpr std::string_view trim_right(std::string_view s) {
  std::size_t n = s.size();
  if (!std::is_constant_evaluated()) {
    // Eight blanks at a time from the end: a field is mostly padding.
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    std::uint64_t x;
    while (n >= 8 && (std::memcpy(&x, s.data() + n - 8, 8), x == kBlanks)) n -= 8;
  }
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

// Empty or blanks only.
constexpr bool is_blank(std::string_view s) { return trim_right(s).empty(); }

// A field compared with a constant: exact and case-sensitive, trailing blanks ignored.
constexpr bool equals(std::string_view value, std::string_view constant) {
  return trim_right(value) == trim_right(constant);
}

// A field taken as a number: leading blanks skipped, decimal digits up to the first other
// character; no digit gives 0 ("12" 12, " 3" 3, "1a" 1, "abc" 0, "-1" 0). Saturates instead of
// overflowing.
long long as_number(std::string_view s);

// A number written with at least `digits` digits, zero padded ("007", "1000").
std::string zero_padded(long long value, int digits);

// A record: the fields of a layout in one blank-padded buffer, reached by number (the splitter,
// the windows' record boxes and other code that walks any record). A converter's records are
// `RecordOf<L>`, whose fields it names and which holds the buffer itself, so that a record
// costs no allocation and its bytes lie where the record is.
class Record {
 public:
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;

  const RecordLayout& layout() const { return *layout_; }
  std::size_t field_count() const { return layout_->fields.size(); }

  // A field by number, the whole width with its blank padding.
  std::string_view field(std::size_t index) const {
    return std::string_view(data_ + offsets_[index], layout_->fields[index].width);
  }
  // Replaces a field: the text is cut to the field's width and blank padded.
  void set(std::size_t index, std::string_view text);

  // The characters of a field, for the splitter to fill in place (the width is the field's).
  char* field_data(std::size_t index) { return data_ + offsets_[index]; }
  std::size_t field_width(std::size_t index) const { return layout_->fields[index].width; }

  // Writes one character at position `pos` (0-based) of a field; ignored past the field's end.
  void put(std::size_t index, std::size_t pos, char c) {
    if (pos < layout_->fields[index].width) data_[offsets_[index] + pos] = c;
  }

  // All fields blank.
  void clear();
  // The whole record as one text (fields side by side).
  std::string_view text() const { return std::string_view(data_, size_); }

 protected:
  // `offsets`: where each field begins; `data`: the buffer of the layout's width, owned by the
  // derived record.
  Record(const RecordLayout& layout, const std::size_t* offsets, char* data)
      : layout_(&layout), offsets_(offsets), data_(data), size_(layout.width()) {}
  ~Record() = default;

  // The text cut to `width` characters and blank padded, at `at`.
  static void put_padded(char* at, std::size_t width, std::string_view text);
  char* data() { return data_; }

 private:
  const RecordLayout* layout_;
  const std::size_t* offsets_;
  char* data_;
  std::size_t size_;
};

namespace detail {
// Not a constant: a field look-up that reaches it when the program is compiled fails, and the
// compiler names this function in its message.
inline void field_name_not_in_this_record() {}
}  // namespace detail

// A field of the layout L, found by its name when the program is compiled: its number, where it
// begins in the record and its width. A string literal converts to it (`FieldOf<ANK1> f =
// "FIO1";`), so a record of L is read as `r["FIO1"]`; a name L lacks does not compile.
template <const RecordLayout& L>
class FieldOf {
 public:
  template <std::size_t N>
  consteval FieldOf(const char (&name)[N]) : FieldOf(std::string_view(name, N - 1)) {}
  consteval explicit FieldOf(std::string_view name) : index_(L.index(name)) {
    if (index_ == RecordLayout::npos) detail::field_name_not_in_this_record();
    offset_ = L.offset(index_);
    width_ = L.fields[index_].width;
  }

  constexpr std::size_t index() const { return index_; }
  constexpr std::size_t offset() const { return offset_; }
  constexpr std::size_t width() const { return width_; }

 private:
  std::size_t index_;
  std::size_t offset_ = 0;
  std::size_t width_ = 0;
};

// Whether the layout has a field of that name (for writers shared by records that differ).
consteval bool has_field(const RecordLayout& layout, std::string_view name) {
  return layout.index(name) != RecordLayout::npos;
}

// The bytes of a record of N characters: a base of RecordOf, made before its Record, which is
// given their address.
template <std::size_t N>
struct RecordBytes {
  std::array<char, N> bytes_;
};

// A record of the layout L, its fields read and written by name.
template <const RecordLayout& L>
class RecordOf : private RecordBytes<L.width()>, public Record {
  using Bytes = RecordBytes<L.width()>;
  using Bytes::bytes_;

 public:
  using Field = FieldOf<L>;

  RecordOf() : Record(L, kOffsets.data(), bytes_.data()) { bytes_.fill(' '); }
  RecordOf(const RecordOf& other) : Bytes(other), Record(L, kOffsets.data(), bytes_.data()) {}
  RecordOf& operator=(const RecordOf& other) {
    bytes_ = other.bytes_;
    return *this;
  }

  // The field, the whole width with its blank padding.
  std::string_view operator[](Field f) const { return std::string_view(bytes_.data() + f.offset(), f.width()); }
  // The field without trailing blanks.
  std::string_view value(Field f) const { return trim_right((*this)[f]); }
  // Replaces the field: the text is cut to the field's width and blank padded.
  void set(Field f, std::string_view text) { put_padded(bytes_.data() + f.offset(), f.width(), text); }
  // Writes one character at position `pos` (0-based) of the field; ignored past its end.
  void put(Field f, std::size_t pos, char c) {
    if (pos < f.width()) bytes_[f.offset() + pos] = c;
  }

  using Record::put;
  using Record::set;

 private:
  static constexpr auto kOffsets = [] {
    std::array<std::size_t, L.fields.size()> at{};
    for (std::size_t i = 0; i < at.size(); ++i) at[i] = L.offset(i);
    return at;
  }();
};

// For each field of `To`, the field of `From` with the same name, or npos: how a line read in
// its pack order becomes a record in record order. Made when the program is compiled.
template <const RecordLayout& From, const RecordLayout& To>
inline constexpr auto kSameNamedFields = [] {
  std::array<std::size_t, To.fields.size()> source{};
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = From.index(To.fields[i].name);
  return source;
}();

// Copies into `to` every field that `from` also has, by name (cut to the width in `to`); the
// other fields of `to` keep what they hold.
template <const RecordLayout& From, const RecordLayout& To>
void copy_same_named(const RecordOf<From>& from, RecordOf<To>& to) {
  const auto& source = kSameNamedFields<From, To>;
  for (std::size_t i = 0; i < source.size(); ++i)
    if (source[i] != RecordLayout::npos) to.set(i, from.field(source[i]));
}

}  // namespace tolvex::core
