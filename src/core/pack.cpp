#include "core/pack.h"

#include <algorithm>
#include <cstring>

#include "core/short_copy.h"

namespace tolvex::core {

namespace {

// Whether a byte ends a run of ordinary characters: a double quote or a comma.
constexpr bool is_stop(char c) { return c == '"' || c == ','; }

}  // namespace

void split_pack_line(std::string_view line, Record& record, SplitVariant variant, std::size_t max_fields) {
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
  const char* p = line.data();
  const char* const end = p + line.size();
  for (;;) {
    // A run of ordinary characters goes into the field at once, cut at the field's width.
    const char* stop = p;
    while (stop != end && !is_stop(*stop)) ++stop;
    const std::size_t n = std::min(room, static_cast<std::size_t>(stop - p));
    at = copy_short(at, p, n);
    room -= n;
    if (stop == end) break;
    p = stop + 1;
    if (*stop == '"') {
      quoted = !quoted;
    } else if (!quoted) {
      // The next field; past the record's last one, characters are only counted off.
      room = 0;
      if (++f < fields) {
        at = record.field_data(f);
        room = record.field_width(f);
      }
    } else if (variant == SplitVariant::document && room > 0) {
      *at++ = ',';
      --room;
    }
  }
}

runtime::LineFileSettings pack_file_settings() {
  runtime::LineFileSettings s;
  s.record_length = 500;
  s.oem = true;
  return s;
}

int PackReader::skip_pack_header() {
  if (int rc = file_.set_to_start()) return rc;
  for (int i = 0; i < 4; ++i)
    if (int rc = file_.next()) return rc;
  return 0;
}

}  // namespace tolvex::core
