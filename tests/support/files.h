// SPDX-License-Identifier: MIT
// Files and paths in tests: a file's bytes read and written whole, and paths in a text as they
// read on Linux, so that one expectation serves both platforms.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tolvex::fakes {

inline std::string read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Writes `bytes` as the whole file, replacing what it held.
inline void write_file(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// "\\" becomes "/" on Windows; elsewhere the text is left as it is.
inline std::string slashes(std::string text) {
#ifdef _WIN32
  for (auto& c : text)
    if (c == '\\') c = '/';
#endif
  return text;
}

}  // namespace tolvex::fakes
