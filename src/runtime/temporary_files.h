// SPDX-License-Identifier: MIT
// The temporary files the program has made and not yet put in place. When the program is
// interrupted (SIGINT, SIGTERM, SIGHUP or SIGQUIT; on Windows Ctrl+C, Ctrl+Break or the console
// closed) they are removed before it ends, so that no unfinished file is left behind, whichever
// thread was making one at that moment.
#pragma once

#include <filesystem>

#ifndef _WIN32
#include <signal.h>
#endif

namespace tolvex::runtime {

// Installs the interruption handlers (once; a signal that is ignored or has a handler of
// somebody else's when the program starts is left so). A write past the file-size limit and a
// write to a closed pipe fail as writes and are reported as such: SIGXFSZ and SIGPIPE are
// ignored.
void handle_interruptions();

// Held while a temporary file is made and noted: no interruption can come in between (the
// interruption signals are blocked on this thread), and an interruption being handled on
// another thread waits until the file is noted. Once an interruption has begun, no temporary
// file may be made any more: `allowed()` is then false and the maker gives up.
class TemporaryCreation {
 public:
  TemporaryCreation();
  ~TemporaryCreation();
  TemporaryCreation(const TemporaryCreation&) = delete;
  TemporaryCreation& operator=(const TemporaryCreation&) = delete;
  bool allowed() const { return allowed_; }

 private:
  bool allowed_ = false;
#ifndef _WIN32
  sigset_t saved_mask_;  // the thread's signal mask before
#endif
};

// Notes a temporary file; the number returned is given back to forget_temporary. -1 when the
// table is full (the file is then only removed by its owner).
int remember_temporary(const std::filesystem::path& path);

// The file is in place or removed: an interruption leaves it alone from now on.
void forget_temporary(int slot);

}  // namespace tolvex::runtime
