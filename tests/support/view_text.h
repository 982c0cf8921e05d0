// SPDX-License-Identifier: MIT
// A converter window's page as text, for the converter tests: the fields as "prompt=value"
// lines in UTF-8, each framed group opened by its caption in brackets.
#pragma once

#include <string>
#include <string_view>

#include "core/conversion/operator.h"
#include "runtime/codepage.h"

namespace tolvex::fakes {

inline std::string shown_fields(const core::ViewPage& page) {
  std::string out;
  for (const core::ViewGroup& g : page.groups) {
    if (!g.caption.empty()) out += "[" + runtime::ansi_to_utf8(g.caption) + "]\n";
    for (const core::ViewField& f : g.fields) {
      out += runtime::ansi_to_utf8(f.prompt) + "=" + runtime::ansi_to_utf8(f.value);
      if (!f.after.empty()) out += " " + runtime::ansi_to_utf8(f.after);
      out += "\n";
    }
  }
  return out;
}

// The first field of the page under a prompt (UTF-8), or nothing.
inline const core::ViewField* shown_field(const core::ViewPage& page, std::string_view prompt) {
  for (const core::ViewGroup& g : page.groups)
    for (const core::ViewField& f : g.fields)
      if (runtime::ansi_to_utf8(f.prompt) == prompt) return &f;
  return nullptr;
}

}  // namespace tolvex::fakes
