// SPDX-License-Identifier: MIT
// A row of the table of document kinds: the document-type code of the pack (DOKT:TYP_DOK) gives
// the form name, the inventory's ТипДокумента, the procedure, the converter and the pack-level
// block. The table itself is built where every subsystem is visible and handed to the core as a
// span of these rows.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "core/format4/pack.h"

namespace tolvex::core {

class Converter;
struct ConverterContext;
class XmlWriter;

using ConverterFactory = std::unique_ptr<Converter> (*)(const ConverterContext&);
// A block of the inventory after ДатаСоставления, written from the pack record PCH.
using PackBlockWriter = void (*)(XmlWriter& xml, const RecordOf<PCH>& pch);

// The converter of the kinds that are recognised but not converted: its procedure only tells the
// operator so.
std::unique_ptr<Converter> make_message_only(const ConverterContext& context);

struct DocumentKind {
  std::string_view code;            // DOKT:TYP_DOK
  std::string_view form_name;       // TYP_PFR
  std::string_view inventory_type;  // the inventory's ТипДокумента
  std::string_view procedure;       // the converter's name: also its window-position section
  ConverterFactory factory;
  PackBlockWriter pack_block = nullptr;  // none for most kinds

  // False for the kinds answered with a message.
  bool converted() const { return factory != &make_message_only; }
};

// The row of a document-type code (trailing blanks ignored); nothing for an unknown code.
const DocumentKind* find_kind(std::span<const DocumentKind> kinds, std::string_view code);

}  // namespace tolvex::core
