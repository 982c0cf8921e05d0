#include "person/person_converters.h"

namespace tolvex::person {

void install_person_converters(core::DispatchTable& table) { (void)table; }

}  // namespace tolvex::person
