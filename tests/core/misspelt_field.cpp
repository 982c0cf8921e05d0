// SPDX-License-Identifier: MIT
// Compiled by the test suite, never linked: with FIELD a name that IST4 has, this file compiles;
// with a misspelt one it must not, since fields are found when the program is compiled.
#include "core/format4/pack.h"

std::string_view field_of(const tolvex::core::RecordOf<tolvex::core::IST4>& ist4) { return ist4[FIELD]; }
