// What the statements and conversion records share: the document number in the pack, the
// insurer block of the statements, copying a pack line into a record whose field order differs
// from the line's, and the rows the converter windows show.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/operator.h"
#include "core/pack.h"
#include "core/record.h"
#include "core/xml_writer.h"

namespace tolvex::statements {

// НомерВпачке of a document: its number in the pack taken as a number, plus one (number 1 is
// the pack inventory's), written in full ("999" gives "1000").
std::string document_number(std::string_view ndok_pch);

// The statements' own Страхователь block: НалоговыйНомер, НаименованиеОрганизации,
// НаименованиеКраткое (when not blank), РегистрационныйНомер, Подразделение (when the
// department number is not blank).
void write_statement_insurer(core::XmlWriter& xml, const core::Record& ist4);

// Copies every field of `from` that `to` also has, by name (cut to the width of `to`).
void copy_fields(const core::Record& from, core::Record& to);

// Reads the next pack line into `line` (a record laid out in the line's field order), then
// clears `target` and copies the line's fields into it by name. The read's code.
int read_by_line_layout(core::PackReader& pack, core::Record& line, core::Record& target);

// Every field of a record as a prompt/value pair of the window (prompt: the field's name).
std::vector<core::ViewField> view_fields(const core::Record& record);

// One list row: the named fields' values without trailing blanks.
std::vector<std::string> view_row(const core::Record& record, std::initializer_list<std::string_view> fields);

// A list of the window: its caption, its columns, and one row per record with all the record's
// fields.
core::ViewList view_list(std::string_view caption, std::vector<std::string> columns,
                         const std::vector<core::Record>& records);

// The field names of a layout, as list columns.
std::vector<std::string> field_names(const core::RecordLayout& layout);

// Constant texts (column captions) as strings.
std::vector<std::string> texts(std::initializer_list<std::string_view> items);

}  // namespace tolvex::statements
