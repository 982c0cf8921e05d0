// The field splitter over arbitrary lines and every header layout, in both variants: nothing is
// written past a field and the record keeps its width.
#include <cstdint>
#include <string_view>

#include "core/pack.h"
#include "fuzz_support.h"

using namespace tolvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  for (const core::RecordLayout* layout : {&core::ZAG4, &core::IST4, &core::PCH, &core::DOKT}) {
    for (auto variant : {core::SplitVariant::header, core::SplitVariant::document}) {
      core::Record r(*layout);
      core::split_pack_line(line, r, variant);
      fuzzing::require(r.text().size() == layout->width(), "record width");
      for (char c : r.text()) fuzzing::require(c != '"', "a quote reached a field");
    }
  }
  return 0;
}
