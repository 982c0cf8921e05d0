// Records of a format-4 pack as data: a record layout is a table of field names and widths, and
// a record is one blank-padded buffer holding the fields one after another. Every record of the
// format (ZAG4, IST4, ANK1, STG1 ...) is declared as such a table; the splitter fills any of
// them, so adding a record is adding a table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
  // The number of a field by its name; a name the layout lacks is a compile error where the
  // layout is a constant, and npos otherwise.
  constexpr std::size_t index(std::string_view field) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
      if (fields[i].name == field) return i;
    return npos;
  }
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
};

// --- text helpers shared by every record and writer ---------------------------------------

// The value without its trailing blanks.
constexpr std::string_view trim_right(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
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

// A record: the fields of a layout in one blank-padded buffer.
class Record {
 public:
  explicit Record(const RecordLayout& layout);

  const RecordLayout& layout() const { return *layout_; }
  std::size_t field_count() const { return layout_->fields.size(); }

  // A field by number, the whole width with its blank padding.
  std::string_view field(std::size_t index) const {
    return std::string_view(buffer_).substr(offsets_[index], layout_->fields[index].width);
  }
  // A field by name ("FIO1"); an unknown name is a programming error and throws.
  std::string_view operator[](std::string_view name) const { return field(index_of(name)); }
  // The field without trailing blanks.
  std::string_view value(std::string_view name) const { return trim_right((*this)[name]); }

  // Replaces a field: the text is cut to the field's width and blank padded.
  void set(std::size_t index, std::string_view text);
  void set(std::string_view name, std::string_view text) { set(index_of(name), text); }

  // The characters of a field, for the splitter to fill in place (the width is the field's).
  char* field_data(std::size_t index) { return buffer_.data() + offsets_[index]; }
  std::size_t field_width(std::size_t index) const { return layout_->fields[index].width; }

  // Writes one character at position `pos` (0-based) of a field; ignored past the field's end.
  void put(std::size_t index, std::size_t pos, char c) {
    if (pos < layout_->fields[index].width) buffer_[offsets_[index] + pos] = c;
  }

  // All fields blank.
  void clear();
  // The whole record as one text (fields side by side).
  std::string_view text() const { return buffer_; }

  std::size_t index_of(std::string_view name) const;

 private:
  const RecordLayout* layout_;
  std::vector<std::size_t> offsets_;
  std::string buffer_;
};

}  // namespace tolvex::core
