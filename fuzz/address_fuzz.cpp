// SPDX-License-Identifier: MIT
// The address splitter and writer over arbitrary text: the depth comes back and the lines form
// well-formed XML.
#include <cstdint>
#include <string>

#include "blocks/address.h"
#include "core/format7/xml_writer.h"
#include "fuzz_support.h"

using namespace tolvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string address(reinterpret_cast<const char*>(data), size);
  core::StringSink sink;
  core::XmlWriter xml(sink);
  {
    auto a = xml.block("A");
    blocks::write_address(xml, address);
    fuzzing::require(xml.xml_depth() == 1, "depth after the address");
  }
  fuzzing::require_well_formed("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n" + sink.text, "address");
  return 0;
}
