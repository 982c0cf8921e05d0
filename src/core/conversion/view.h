// SPDX-License-Identifier: MIT
// How a converter describes its current document for the converter window: record fields
// under their prompts with their widths, fields gathered in groups, and lists with one row per
// record. Every converter builds its window description from these.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/conversion/operator.h"
#include "core/format4/pack.h"
#include "core/format4/record.h"

namespace tolvex::core {

// A record field under its prompt: its value without trailing blanks, and its width.
template <const RecordLayout& L>
ViewField view_field(std::string_view prompt, const RecordOf<L>& record, std::type_identity_t<FieldOf<L>> field,
                     std::string_view after = {}) {
  return {std::string(prompt), std::string(record.value(field)), field.width(), std::string(after)};
}

// A value the converter works out (the document's number in the file, an amount as shown)
// under its prompt, room for `width` characters (0: as many as it has).
ViewField view_value(std::string_view prompt, std::string_view value, std::size_t width = 0);

// A group appended to a page, to be filled: framed under its caption (no frame when it is
// empty), beside the group before it when asked.
ViewGroup& add_group(ViewPage& page, std::string_view caption = {}, bool beside = false);

// The document's number in the file (НомерВпачке: its number in the pack plus one) under its
// prompt, then "из" and the number of documents the pack announces (DOKT:KOL_DOK).
void add_number_in_pack(ViewGroup& group, std::string_view prompt, std::string_view number, const PackHeader& header);

// A prompt and the field it names, for a table of a record's fields.
template <const RecordLayout& L>
struct Prompted {
  std::string_view prompt;
  FieldOf<L> field;
};

// Fields of a record under their prompts, in the order given.
template <const RecordLayout& L>
void add_fields(ViewGroup& group, const RecordOf<L>& record,
                std::type_identity_t<std::initializer_list<Prompted<L>>> fields) {
  for (const auto& f : fields) group.fields.push_back(view_field(f.prompt, record, f.field));
}

// One list row: the named fields' values without trailing blanks.
template <const RecordLayout& L>
std::vector<std::string> view_row(const RecordOf<L>& record,
                                  std::type_identity_t<std::initializer_list<FieldOf<L>>> fields) {
  std::vector<std::string> row;
  for (auto field : fields) row.emplace_back(record.value(field));
  return row;
}

// Every field's value without trailing blanks, in record order.
std::vector<std::string> view_row(const Record& record);

// A list with its caption and columns, one row per record with all the record's fields; beside
// the list before it when asked.
template <class Records>
ViewList view_list(std::string_view caption, std::vector<std::string> columns, const Records& records,
                   bool beside = false) {
  ViewList list{std::string(caption), std::move(columns), {}, beside};
  for (const Record& r : records) list.rows.push_back(view_row(r));
  return list;
}

// Constant texts (column captions) as strings.
std::vector<std::string> view_texts(std::initializer_list<std::string_view> items);

}  // namespace tolvex::core
