// SPDX-License-Identifier: MIT
#include "app/process.h"

#include <cerrno>
#include <utility>

#include "core/conversion/messages.h"
#include "core/format4/record.h"
#include "runtime/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace tolvex::app {

namespace {

void append_quoted(std::string& out, std::string_view arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos) {
    out.append(arg);
    return;
  }
  // Inside quotes, backslashes count only before a double quote: those are doubled, and the
  // quote itself is escaped; backslashes at the end are doubled before the closing quote.
  out.push_back('"');
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(backslashes * 2 + 1, '\\');
      out.push_back('"');
    } else {
      out.append(backslashes, '\\');
      out.push_back(c);
    }
    backslashes = 0;
  }
  out.append(backslashes * 2, '\\');
  out.push_back('"');
}

}  // namespace

std::string windows_command_line(std::string_view program, const std::vector<std::string>& arguments) {
  // The program name is read up to its closing quote, without escapes: it is quoted plainly.
  std::string out = "\"";
  out.append(program);
  out.push_back('"');
  for (const auto& a : arguments) {
    out.push_back(' ');
    append_quoted(out, a);
  }
  return out;
}

ProcessRunner::~ProcessRunner() {
  reap();
#ifdef _WIN32
  for (const auto& r : running_) CloseHandle(reinterpret_cast<HANDLE>(r.process));
#endif
}

namespace {

#ifndef _WIN32
int exit_status(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }
#endif

}  // namespace

void ProcessRunner::reap() {
  std::vector<Running> still;
  for (const auto& r : running_) {
#ifndef _WIN32
    int status = 0;
    pid_t got;
    do got = ::waitpid(static_cast<pid_t>(r.process), &status, WNOHANG);
    while (got < 0 && errno == EINTR);
    if (got == 0) {
      still.push_back(r);
      continue;
    }
    if (got > 0 && exit_status(status) != 0 && !r.archive.empty()) failed_.push_back({r.archive, exit_status(status)});
#else
    HANDLE h = reinterpret_cast<HANDLE>(r.process);
    DWORD code = 0;
    if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) {
      still.push_back(r);
      continue;
    }
    if (GetExitCodeProcess(h, &code) && code != 0 && !r.archive.empty())
      failed_.push_back({r.archive, static_cast<int>(code)});
    CloseHandle(h);
#endif
  }
  running_.swap(still);
}

std::vector<ProcessRunner::FailedArchiver> ProcessRunner::take_failed_archivers() {
  reap();
  return std::exchange(failed_, {});
}

void ProcessRunner::tell_failed_archivers(core::Session& s) {
  using namespace runtime::literals;
  if (telling_) return;  // a box of an earlier failure is still open
  telling_ = true;
  struct Told {
    bool& telling;
    ~Told() { telling = false; }
  } told{telling_};
  for (const auto& failed : take_failed_archivers()) {
    s.journal.journal_status(failed.status, " Не архивировали "_w, failed.archive);
    core::info_box(s.op, core::kTitleMessage,
                   std::string("Архиватор не записал архив "_w) + failed.archive + std::string(", код завершения "_w) +
                       std::to_string(failed.status));
  }
}

core::ProgramResult ProcessRunner::run_program(std::string_view program, const core::ProgramArguments& arguments,
                                               bool wait) {
  reap();
  core::ProgramResult result;
  std::string prog(core::trim_right(program));
  if (prog.empty()) return result;  // an empty path starts nothing
#ifndef _WIN32
  std::vector<std::string> args;
  auto native = [](const std::string& ansi) {
    auto u8 = runtime::ansi_to_path(ansi).u8string();
    return std::string(u8.begin(), u8.end());
  };
  args.push_back(native(prog));
  for (const auto& a : arguments.list()) args.push_back(native(a));
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The program gets the signals' default handling, not what this program ignores (a write to a
  // closed pipe, past the file-size limit).
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGXFSZ);
  ::posix_spawnattr_setsigdefault(&attributes, &defaults);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  int spawned = ::posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
  ::posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return result;
  result.started = true;
  if (wait) {
    int status = 0;
    pid_t got;
    do got = ::waitpid(pid, &status, 0);
    while (got < 0 && errno == EINTR);
    result.ended = got == pid;
    result.status = result.ended ? exit_status(status) : 0;
  } else {
    running_.push_back({pid, arguments.archive()});
  }
#else
  // The command line quoted argument by argument; the program's own folder is the current one.
  auto wide = [](const std::string& ansi) { return runtime::ansi_to_path(ansi).wstring(); };
  std::wstring cmd = wide(windows_command_line(prog, arguments.list()));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  std::wstring app = wide(prog);
  if (!CreateProcessW(app.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return result;
  result.started = true;
  CloseHandle(pi.hThread);
  if (wait) {
    DWORD code = 0;
    result.ended =
        WaitForSingleObject(pi.hProcess, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code);
    result.status = result.ended ? static_cast<int>(code) : 0;
    CloseHandle(pi.hProcess);
  } else if (!arguments.archive().empty()) {
    running_.push_back({reinterpret_cast<long long>(pi.hProcess), arguments.archive()});
  } else {
    CloseHandle(pi.hProcess);
  }
#endif
  return result;
}

}  // namespace tolvex::app
