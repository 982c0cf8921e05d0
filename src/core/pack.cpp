#include "core/pack.h"

#include <algorithm>

namespace tolvex::core {

void split_pack_line(std::string_view line, Record& record, SplitVariant variant, std::size_t max_fields) {
  line = trim_right(line);
  const std::size_t fields = std::min(record.field_count(), max_fields);
  std::size_t f = 0;    // current field, 0-based
  std::size_t k = 0;    // next write position in the field
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (c == ',') {
      if (!quoted) {
        ++f;
        k = 0;
        continue;
      }
      if (variant == SplitVariant::header) continue;
    }
    if (f < fields) record.put(f, k++, c);
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
