// SPDX-License-Identifier: MIT
#include "core/format4/pack.h"

#include <algorithm>
#include <cstring>

namespace tolvex::core {

namespace {

// The splitting loop; `Convert` stores a character of the line as the record holds it.
template <typename Convert>
void split(std::string_view line, Record& record, SplitVariant variant, std::size_t max_fields, Convert convert) {
  line = trim_right(line);
  const std::size_t fields = std::min(record.field_count(), max_fields);
  if (fields == 0) return;
  // The fields the line may fill lie side by side: they are blanked at once, then filled.
  char* const first = record.field_data(0);
  const char* const last = record.field_data(fields - 1) + record.field_width(fields - 1);
  std::memset(first, ' ', static_cast<std::size_t>(last - first));
  std::size_t f = 0;                         // current field, 0-based
  char* at = first;                          // where its next character goes
  std::size_t room = record.field_width(0);  // characters still free in it
  bool quoted = false;
  for (char c : line) {
    if (c == '"' || c == ',') {
      if (c == '"') {
        quoted = !quoted;
        continue;
      }
      if (!quoted) {
        // The next field; past the record's last one, characters are only counted off.
        room = 0;
        if (++f < fields) {
          at = record.field_data(f);
          room = record.field_width(f);
        }
        continue;
      }
      if (variant == SplitVariant::header) continue;  // a comma in quotes: dropped in a header
    }
    if (room > 0) {  // a value longer than its field is cut at the width
      *at++ = convert(c);
      --room;
    }
  }
}

}  // namespace

void split_pack_line(std::string_view line, Record& record, SplitVariant variant, std::size_t max_fields) {
  split(line, record, variant, max_fields, [](char c) { return c; });
}

void split_pack_line(std::string_view line, Record& record, SplitVariant variant, std::size_t max_fields,
                     const std::uint8_t* code_page) {
  if (!code_page) return split_pack_line(line, record, variant, max_fields);
  split(line, record, variant, max_fields,
        [code_page](char c) { return static_cast<char>(code_page[static_cast<unsigned char>(c)]); });
}

runtime::LineFileSettings pack_file_settings() {
  runtime::LineFileSettings s;
  s.record_length = 500;
  s.oem = true;
  return s;
}

runtime::Error PackReader::skip_pack_header() {
  if (runtime::Error rc = file_.set_to_start(); rc != runtime::Error::ok) return rc;
  for (int i = 0; i < 4; ++i)
    if (runtime::Error rc = file_.next(); rc != runtime::Error::ok) return rc;
  return runtime::Error::ok;
}

}  // namespace tolvex::core
