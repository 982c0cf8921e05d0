// SPDX-License-Identifier: MIT
#include "runtime/paths.h"

#include "runtime/codepage.h"

namespace tolvex::runtime {

std::string path_to_ansi(const std::filesystem::path& path) {
  auto u8 = path.u8string();
  return name_to_ansi(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
}

std::filesystem::path ansi_to_path(std::string_view ansi) {
  std::string utf8 = ansi_to_utf8(ansi);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string_view separator() {
#ifdef _WIN32
  return "\\";
#else
  return "/";
#endif
}

std::string with_separator(std::string_view dir) {
  std::string out(dir);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  auto sep = separator();
  while (out.size() > 1 && (out.back() == '/' || out.back() == '\\')) out.pop_back();
  if (out.empty() || (out.back() != '/' && out.back() != '\\')) out.append(sep);
  return out;
}

}  // namespace tolvex::runtime
