// SPDX-License-Identifier: MIT
#include "runtime/platform.h"

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "runtime/codepage.h"
#include "runtime/paths.h"
#include "runtime/temporary_files.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tolvex::runtime {

void start_process() {
  for (int fd = 0; fd <= 2; ++fd) {
#ifdef _WIN32
    if (_get_osfhandle(fd) != -1) continue;
    int opened = _open("NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
#else
    if (::fcntl(fd, F_GETFD) != -1) continue;
    int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
#endif
    // The lowest free number is taken: the one missing, as the lower ones are open.
    if (opened != fd) std::_Exit(3);
  }
  handle_interruptions();
}

LocalTime local_time_now() {
  auto tp = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(tp);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(tp.time_since_epoch()).count() % 1000;
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms)};
}

std::string printable(std::string_view text) {
  // Most lines hold nothing to replace: they are copied whole.
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x20 && text[i] != kNameEscape) ++i;
  std::string out;
  out.reserve(text.size());
  out.append(text.substr(0, i));
  for (; i < text.size(); ++i) {
    if (std::size_t n = text[i] == kNameEscape ? escape_length(text, i) : 0) {
      out.push_back('?');  // a character of a name that 1251 lacks
      i += n - 1;
      continue;
    }
    out.push_back(static_cast<unsigned char>(text[i]) < 0x20 ? '?' : text[i]);
  }
  return out;
}

void write_console(std::FILE* stream, std::string_view ansi) {
#ifdef _WIN32
  // Through UTF-16 into the console's code page (the DOS code page on a Russian workstation).
  std::string utf8 = ansi_to_utf8(ansi);
  int wn = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wn), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), wn);
  UINT cp = GetConsoleOutputCP();
  if (cp == 0) cp = GetOEMCP();
  int n = WideCharToMultiByte(cp, 0, wide.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(cp, 0, wide.data(), wn, out.data(), n, nullptr, nullptr);
  std::fwrite(out.data(), 1, out.size(), stream);
#else
  std::string utf8 = ansi_to_utf8(ansi);
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
#endif
}

std::string console_to_utf8(std::string_view text) {
#ifdef _WIN32
  int wn = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wn), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), wn);
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
#else
  return std::string(text);
#endif
}

std::filesystem::path running_program_folder() {
#ifdef _WIN32
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n == 0) return {};
    if (n < name.size()) {
      name.resize(n);
      break;
    }
    name.resize(name.size() * 2);
  }
  std::filesystem::path self(name);
#else
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
#endif
  return self.parent_path();
}

std::string user_interface_language() {
#ifdef _WIN32
  LCID ui = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  char name[9] = {};
  if (GetLocaleInfoA(ui, LOCALE_SISO639LANGNAME, name, sizeof name) == 0) return {};
  return name;
#else
  return {};
#endif
}

std::string default_archiver(std::string_view program_folder) {
#ifdef _WIN32
  return std::string(program_folder) + "pkZipc.exe";
#else
  std::filesystem::path folder = running_program_folder();
  if (folder.empty()) return std::string(program_folder) + "tolvex-zip";
  return path_to_ansi(folder / "tolvex-zip");
#endif
}

}  // namespace tolvex::runtime
