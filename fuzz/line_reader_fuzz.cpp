// SPDX-License-Identifier: MIT
// The line reader with arbitrary bytes and settings: every record has the record length, and
// the reader always reaches the end of the file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "runtime/text_file.h"

using namespace tolvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  runtime::LineFileSettings s;
  s.record_length = 1 + data[0] % 64;
  s.buffer_size = 1 + data[1] % 32;
  s.tab = static_cast<int>(static_cast<std::int8_t>(data[2])) == -1 ? -100 : static_cast<std::int8_t>(data[2]) % 12;
  s.ctrl_z_is_eof = data[3] & 1;
  s.quick_scan = data[3] & 2;
  s.oem = data[3] & 4;
  if (data[3] & 8) s.end_of_record = "\n";
  if (data[3] & 16) s.end_of_record = "";
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("tolvex-fuzz-lines-" + std::to_string(getpid()));
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + 4), static_cast<std::streamsize>(size - 4));
  }
  runtime::LineReader r(s);
  fuzzing::require(r.open(file) == runtime::Error::ok, "open");
  std::size_t lines = 0;
  runtime::Error rc;
  while ((rc = r.next()) == runtime::Error::ok) {
    fuzzing::require(r.record().size() == s.record_length, "record length");
    fuzzing::require(++lines <= size + 1, "the reader does not move forwards");
  }
  fuzzing::require(rc == runtime::Error::end_of_file, "end of file");
  fuzzing::require(r.close() == runtime::Error::ok, "close");
  return 0;
}
