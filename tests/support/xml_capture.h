// SPDX-License-Identifier: MIT
// Block writers under test: a writer runs at a given depth into memory, and its lines come back
// in UTF-8; the depth must be the same afterwards, as every block writer promises.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/format7/xml_writer.h"
#include "runtime/codepage.h"

namespace tolvex::fakes {

template <typename F>
std::string written_at(int depth, F&& write) {
  core::StringSink sink;
  core::XmlWriter xml(sink);
  auto at_depth = xml.indented(depth);
  write(xml);
  EXPECT_EQ(xml.xml_depth(), depth) << "the writer did not leave the depth as it found it";
  return runtime::ansi_to_utf8(sink.text);
}

}  // namespace tolvex::fakes
