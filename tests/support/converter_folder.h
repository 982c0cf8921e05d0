// SPDX-License-Identifier: MIT
// A converter's surroundings in a folder of the test's own: a pack header, the scripted
// operator, the journal written to the folder's file "log", and a pack of document lines after
// four header lines.
#pragma once

#include <string>

#include "core/conversion/converter.h"
#include "core/conversion/journal.h"
#include "core/format4/pack.h"
#include "runtime/codepage.h"
#include "runtime/text_file.h"
#include "scripted_operator.h"
#include "temp_folder.h"

namespace tolvex::fakes {

class ConverterFolder : public TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    ASSERT_EQ(runtime::LineWriter::create(dir / "log"), runtime::Error::ok);
    ASSERT_EQ(journal_.file().open(dir / "log", true), runtime::Error::ok);
  }
  void TearDown() override {
    pack_.close_after_reading();
    EXPECT_EQ(journal_.file().close(), runtime::Error::ok);
    TempFolder::TearDown();
  }

  // The file "pack": four header lines, then `documents` (code page 866, CR LF) as they are.
  std::filesystem::path write_pack(const std::string& documents) {
    return write("pack", "h1\r\nh2\r\nh3\r\nh4\r\n" + documents);
  }
  // The same, opened and read up to its first document.
  core::PackReader& open_pack(const std::string& documents) {
    EXPECT_EQ(pack_.open(write_pack(documents)), runtime::Error::ok);
    EXPECT_EQ(pack_.skip_pack_header(), runtime::Error::ok);
    return pack_;
  }

  core::ConverterContext context() { return {header_, op_, journal_}; }
  // The journal so far as UTF-8, its line ends kept.
  std::string journal_lines() {
    EXPECT_EQ(journal_.file().flush(), runtime::Error::ok);
    return runtime::ansi_to_utf8(read(dir / "log"));
  }

  core::PackHeader header_;
  ScriptedOperator op_;
  core::Journal journal_;
  core::PackReader pack_;
};

}  // namespace tolvex::fakes
