// The converters of the individual earnings records: СЗВ-1, СЗВ-3, СЗВ-4-1, СЗВ-4-2.
#pragma once

#include "core/dispatch.h"

namespace tolvex::earnings {

// Puts the converters of this subsystem into the dispatch table.
void install_earnings_converters(core::DispatchTable& table);

}  // namespace tolvex::earnings
