// SPDX-License-Identifier: MIT
#include "core/conversion/view.h"

#include "runtime/codepage.h"

namespace tolvex::core {

ViewField view_value(std::string_view prompt, std::string_view value, std::size_t width) {
  return {std::string(prompt), std::string(trim_right(value)), width, {}};
}

void add_number_in_pack(ViewGroup& group, std::string_view prompt, std::string_view number, const PackHeader& header) {
  using namespace runtime::literals;
  group.fields.push_back(view_value(prompt, number, 4));
  group.fields.push_back(view_field("из"_w, header.dokt, "KOL_DOK"));
}

ViewGroup& add_group(ViewPage& page, std::string_view caption, bool beside) {
  page.groups.push_back({std::string(caption), {}, beside});
  return page.groups.back();
}

std::vector<std::string> view_row(const Record& record) {
  std::vector<std::string> row;
  for (std::size_t i = 0; i < record.field_count(); ++i) row.emplace_back(trim_right(record.field(i)));
  return row;
}

std::vector<std::string> view_texts(std::initializer_list<std::string_view> items) {
  return std::vector<std::string>(items.begin(), items.end());
}

}  // namespace tolvex::core
