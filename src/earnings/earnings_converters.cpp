#include "earnings/earnings_converters.h"

#include "earnings/old_records_converter.h"
#include "earnings/szv4_converter.h"

namespace tolvex::earnings {

void install_earnings_converters(core::DispatchTable& table) {
  table.set_factory("load_szv1", &make_load_szv1);
  table.set_factory("load_szv3", &make_load_szv3);
  table.set_factory("load_szv41", &make_load_szv41);
  table.set_factory("load_szv42", &make_load_szv42);
}

}  // namespace tolvex::earnings
