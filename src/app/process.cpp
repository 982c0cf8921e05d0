#include "app/process.h"

#include "core/record.h"
#include "runtime/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace tolvex::app {

std::vector<std::string> split_parameters(std::string_view p) {
  std::vector<std::string> args;
  std::string cur;
  bool in_arg = false, quoted = false;
  for (char c : p) {
    if (c == '"') {
      quoted = !quoted;
      in_arg = true;
      continue;
    }
    if ((c == ' ' || c == '\t') && !quoted) {
      if (in_arg) args.push_back(cur);
      cur.clear();
      in_arg = false;
      continue;
    }
    cur.push_back(c);
    in_arg = true;
  }
  if (in_arg) args.push_back(cur);
  return args;
}

ProcessRunner::~ProcessRunner() { reap(); }

void ProcessRunner::reap() {
#ifndef _WIN32  // processes started on Windows need no collecting
  std::vector<long> still;
  for (long pid : running_) {
    int status = 0;
    if (::waitpid(static_cast<pid_t>(pid), &status, WNOHANG) == 0) still.push_back(pid);
  }
  running_.swap(still);
#endif
}

void ProcessRunner::run_program(std::string_view program, std::string_view parameters, bool wait) {
  reap();
  std::string prog(core::trim_right(program));
  if (prog.empty()) return;  // an empty path starts nothing
#ifndef _WIN32
  std::vector<std::string> args;
  auto native = [](const std::string& ansi) {
    auto u8 = runtime::ansi_to_path(ansi).u8string();
    return std::string(u8.begin(), u8.end());
  };
  args.push_back(native(prog));
  for (auto& a : split_parameters(core::trim_right(parameters))) args.push_back(native(a));
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return;
  if (wait) {
    int status = 0;
    ::waitpid(pid, &status, 0);
  } else {
    running_.push_back(pid);
  }
#else
  // The command line as the program path, one blank and the parameter text; the program's
  // own folder is the current one.
  auto wide = [](const std::string& ansi) { return runtime::ansi_to_path(ansi).wstring(); };
  std::wstring cmd = wide(prog) + L" " + wide(std::string(core::trim_right(parameters)));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  std::wstring app = wide(prog);
  if (!CreateProcessW(app.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
  if (wait) WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
#endif
}

}  // namespace tolvex::app
