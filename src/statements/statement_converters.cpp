#include "statements/statement_converters.h"

#include "statements/adv10_converter.h"
#include "statements/adv11_converter.h"
#include "statements/message_only.h"
#include "statements/szvk_converter.h"

namespace tolvex::statements {

void install_statement_converters(core::DispatchTable& table) {
  table.set_factory("load_adv10", &make_load_adv10);
  table.set_factory("load_adv11", &make_load_adv11);
  table.set_factory("load_szv_k", &make_load_szv_k);
  table.set_factory("load_szi_3", &make_load_szi_3);
  table.set_factory("load_szi_5", &make_load_szi_5);
  table.set_factory("load_ecpd", &make_load_ecpd);
}

}  // namespace tolvex::statements
