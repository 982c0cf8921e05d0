#include "statements/statement_blocks.h"

#include "runtime/codepage.h"

namespace tolvex::statements {

using namespace runtime::literals;

std::vector<core::ViewField> view_fields(const core::Record& record) {
  std::vector<core::ViewField> out;
  for (std::size_t i = 0; i < record.field_count(); ++i)
    out.push_back({std::string(record.layout().fields[i].name), std::string(core::trim_right(record.field(i)))});
  return out;
}

std::vector<std::string> all_values(const core::Record& record) {
  std::vector<std::string> row;
  for (std::size_t i = 0; i < record.field_count(); ++i) row.emplace_back(core::trim_right(record.field(i)));
  return row;
}

std::vector<std::string> field_names(const core::RecordLayout& layout) {
  std::vector<std::string> names;
  for (const auto& f : layout.fields) names.emplace_back(f.name);
  return names;
}

std::vector<std::string> texts(std::initializer_list<std::string_view> items) {
  return std::vector<std::string>(items.begin(), items.end());
}

}  // namespace tolvex::statements
