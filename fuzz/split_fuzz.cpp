// SPDX-License-Identifier: MIT
// The field splitter over arbitrary lines and every header layout, in both variants: nothing is
// written past a field and the record keeps its width.
#include <cstdint>
#include <string_view>

#include "core/format4/pack.h"
#include "fuzz_support.h"

using namespace tolvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  auto split_into = [line](auto record) {
    for (auto variant : {core::SplitVariant::header, core::SplitVariant::document}) {
      core::split_pack_line(line, record, variant);
      fuzzing::require(record.text().size() == record.layout().width(), "record width");
      for (char c : record.text()) fuzzing::require(c != '"', "a quote reached a field");
    }
  };
  split_into(core::RecordOf<core::ZAG4>());
  split_into(core::RecordOf<core::IST4>());
  split_into(core::RecordOf<core::PCH>());
  split_into(core::RecordOf<core::DOKT>());
  return 0;
}
