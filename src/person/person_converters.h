// The converters of the person documents: АДВ-1, АДВ-2, АДВ-3, АДВ-8.
#pragma once

#include "core/dispatch.h"

namespace tolvex::person {

// Puts the converters of this subsystem into the dispatch table.
void install_person_converters(core::DispatchTable& table);

}  // namespace tolvex::person
