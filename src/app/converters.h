// The dispatch table with every subsystem's converters installed.
#pragma once

#include "core/dispatch.h"

namespace tolvex::app {

core::DispatchTable full_dispatch_table();

}  // namespace tolvex::app
