// The converters of the statements and conversion records (АДВ-10, АДВ-11, СЗВ-К) and the
// procedures of the kinds that are answered with a message.
#pragma once

#include "core/dispatch.h"

namespace tolvex::statements {

// Puts the converters of this subsystem into the dispatch table.
void install_statement_converters(core::DispatchTable& table);

}  // namespace tolvex::statements
