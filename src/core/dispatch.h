// The one table of document kinds: the document-type code of the pack (DOKT:TYP_DOK) gives the
// form name, the inventory's ТипДокумента, the pack-level block and the converter.
#pragma once

#include <string_view>
#include <vector>

#include "core/converter.h"

namespace tolvex::core {

enum class PackBlock { none, old_records, szv4 };

struct DocumentKind {
  std::string_view code;            // "АНКТ"
  std::string_view form_name;       // "АДВ-1" (TYP_PFR)
  std::string_view inventory_type;  // "АНКЕТА_ЗЛ"
  std::string_view procedure;       // "load_adv1"
  bool converted;                   // false for the kinds answered with a message
  PackBlock pack_block;
};

struct DispatchRow {
  DocumentKind kind;
  ConverterFactory factory = nullptr;  // filled by the subsystem that converts the kind
};

class DispatchTable {
 public:
  // The fourteen kinds, without converters.
  DispatchTable();

  // The row of a document-type code (trailing blanks ignored); nothing for an unknown code.
  const DispatchRow* find(std::string_view code) const;
  // Installs the converter of a procedure ("load_adv1").
  void set_factory(std::string_view procedure, ConverterFactory factory);

  const std::vector<DispatchRow>& rows() const { return rows_; }

 private:
  std::vector<DispatchRow> rows_;
};

}  // namespace tolvex::core
