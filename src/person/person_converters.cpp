#include "person/person_converters.h"

#include "person/adv1.h"
#include "person/adv8.h"
#include "person/applications.h"

namespace tolvex::person {

void install_person_converters(core::DispatchTable& table) {
  table.set_factory("load_adv1", &make_load_adv1);
  table.set_factory("load_adv2", &make_load_adv2);
  table.set_factory("load_adv3", &make_load_adv3);
  table.set_factory("load_adv8", &make_load_adv8);
}

}  // namespace tolvex::person
