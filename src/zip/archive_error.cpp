// SPDX-License-Identifier: MIT
#include "zip/archive_error.h"

#include <cstring>

namespace tolvex::zip {

std::string system_failure(const std::string& what, int err) { return what + ": " + std::strerror(err); }

}  // namespace tolvex::zip
