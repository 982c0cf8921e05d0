// What the statements and conversion records share: reading a pack line into a record whose
// field order differs from the line's, and the rows the converter windows show.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/operator.h"
#include "core/pack.h"
#include "core/record.h"
#include "core/xml_writer.h"

namespace tolvex::statements {

// Reads the next pack line into `line` (a record laid out in the line's field order), then
// clears `target` and copies the line's fields into it by name. The read's code.
template <const core::RecordLayout& Line, const core::RecordLayout& Target>
int read_by_line_layout(core::PackReader& pack, core::RecordOf<Line>& line, core::RecordOf<Target>& target) {
  int rc = pack.read_record(line);
  if (rc == 0) {
    target.clear();
    core::copy_same_named(line, target);
  }
  return rc;
}

// Every field of a record as a prompt/value pair of the window (prompt: the field's name).
std::vector<core::ViewField> view_fields(const core::Record& record);

// One list row: the named fields' values without trailing blanks.
template <const core::RecordLayout& L>
std::vector<std::string> view_row(const core::RecordOf<L>& record,
                                  std::type_identity_t<std::initializer_list<core::FieldOf<L>>> fields) {
  std::vector<std::string> row;
  for (auto field : fields) row.emplace_back(record.value(field));
  return row;
}

// Every field's value without trailing blanks, in record order.
std::vector<std::string> all_values(const core::Record& record);

// A list of the window: its caption, its columns, and one row per record with all the record's
// fields.
template <class Records>
core::ViewList view_list(std::string_view caption, std::vector<std::string> columns, const Records& records) {
  core::ViewList list;
  list.caption = std::string(caption);
  list.columns = std::move(columns);
  for (const core::Record& r : records) list.rows.push_back(all_values(r));
  return list;
}

// The field names of a layout, as list columns.
std::vector<std::string> field_names(const core::RecordLayout& layout);

// Constant texts (column captions) as strings.
std::vector<std::string> texts(std::initializer_list<std::string_view> items);

}  // namespace tolvex::statements
