// SPDX-License-Identifier: MIT
// What the statements and conversion records share: reading a pack line into a record whose
// field order differs from the line's.
#pragma once

#include "core/format4/pack.h"
#include "core/format4/record.h"

namespace tolvex::statements {

// Reads the next pack line into `line` (a record laid out in the line's field order), then
// clears `target` and copies the line's fields into it by name. The read's code.
template <const core::RecordLayout& Line, const core::RecordLayout& Target>
runtime::Error read_by_line_layout(core::PackReader& pack, core::RecordOf<Line>& line, core::RecordOf<Target>& target) {
  runtime::Error rc = pack.read_record(line);
  if (rc == runtime::Error::ok) {
    target.clear();
    core::copy_same_named(line, target);
  }
  return rc;
}

}  // namespace tolvex::statements
