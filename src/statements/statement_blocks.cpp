#include "statements/statement_blocks.h"

#include "core/insurer_blocks.h"
#include "runtime/codepage.h"

namespace tolvex::statements {

using namespace runtime::literals;

std::string document_number(std::string_view ndok_pch) { return std::to_string(core::as_number(ndok_pch) + 1); }

void write_statement_insurer(core::XmlWriter& xml, const core::Record& ist4) {
  xml.open("Страхователь"_w);
  core::write_tax_number(xml, ist4["INN"], ist4["KPP"]);
  xml.write_element("НаименованиеОрганизации"_w, ist4["NAME"]);
  if (!core::is_blank(ist4["SNAME"])) xml.write_element("НаименованиеКраткое"_w, ist4["SNAME"]);
  xml.write_element("РегистрационныйНомер"_w, ist4["REGN"]);
  if (!core::is_blank(ist4["PODR_KOD"])) core::write_department(xml, ist4["PODR_NAME"], ist4["PODR_KOD"]);
  xml.close("Страхователь"_w);
}

void copy_fields(const core::Record& from, core::Record& to) {
  for (std::size_t i = 0; i < from.field_count(); ++i) {
    std::size_t j = to.layout().index(from.layout().fields[i].name);
    if (j != core::RecordLayout::npos) to.set(j, from.field(i));
  }
}

int read_by_line_layout(core::PackReader& pack, core::Record& line, core::Record& target) {
  int rc = pack.read_record(line);
  if (rc == 0) {
    target.clear();
    copy_fields(line, target);
  }
  return rc;
}

std::vector<core::ViewField> view_fields(const core::Record& record) {
  std::vector<core::ViewField> out;
  for (std::size_t i = 0; i < record.field_count(); ++i)
    out.push_back({std::string(record.layout().fields[i].name), std::string(core::trim_right(record.field(i)))});
  return out;
}

std::vector<std::string> view_row(const core::Record& record, std::initializer_list<std::string_view> fields) {
  std::vector<std::string> row;
  for (auto name : fields) row.emplace_back(record.value(name));
  return row;
}

core::ViewList view_list(std::string_view caption, std::vector<std::string> columns,
                         const std::vector<core::Record>& records) {
  core::ViewList list;
  list.caption = std::string(caption);
  list.columns = std::move(columns);
  for (const core::Record& r : records) {
    std::vector<std::string> row;
    for (std::size_t i = 0; i < r.field_count(); ++i) row.emplace_back(core::trim_right(r.field(i)));
    list.rows.push_back(std::move(row));
  }
  return list;
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
