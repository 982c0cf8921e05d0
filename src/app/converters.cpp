#include "app/converters.h"

#include "earnings/earnings_converters.h"
#include "person/person_converters.h"
#include "statements/statement_converters.h"

namespace tolvex::app {

core::DispatchTable full_dispatch_table() {
  core::DispatchTable table;
  person::install_person_converters(table);
  earnings::install_earnings_converters(table);
  statements::install_statement_converters(table);
  return table;
}

}  // namespace tolvex::app
