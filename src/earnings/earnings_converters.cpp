#include "earnings/earnings_converters.h"

namespace tolvex::earnings {

void install_earnings_converters(core::DispatchTable& table) { (void)table; }

}  // namespace tolvex::earnings
