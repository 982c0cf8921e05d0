// SPDX-License-Identifier: MIT
// The table of document kinds: one complete row per kind, built here where every subsystem's
// converters are visible. Everything that lists the kinds reads it: the one-pack conversion, the
// information window, the console's help, the benchmark and the fuzz target.
#pragma once

#include <span>

#include "core/conversion/dispatch.h"

namespace tolvex::app {

std::span<const core::DocumentKind> document_kinds();

}  // namespace tolvex::app
