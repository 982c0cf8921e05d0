// SPDX-License-Identifier: MIT
#include "runtime/temporary_files.h"

#include <atomic>
#include <csignal>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <time.h>
#include <unistd.h>
#endif

namespace tolvex::runtime {

namespace {

// Fixed storage only: the interruption handler may neither allocate nor take a lock. A batch
// keeps up to two files per thread waiting for their names, besides the settings file.
constexpr int kSlots = 256;
constexpr std::size_t kPathMax = 4096;

#ifdef _WIN32
using NativeChar = wchar_t;
#else
using NativeChar = char;
#endif

NativeChar g_paths[kSlots][kPathMax];
std::atomic<int> g_used[kSlots];
std::atomic<bool> g_installed{false};
// An interruption has begun: no temporary file is made from now on.
std::atomic<bool> g_ending{false};
// Threads between making a temporary file and noting it.
std::atomic<int> g_creating{0};

void remove_all_remembered() {
  g_ending.store(true);
  // A file being made on another thread is noted within a moment: wait for it, so that it is
  // removed with the rest.
  while (g_creating.load() != 0) {
#ifdef _WIN32
    Sleep(1);
#else
    struct timespec pause {
      0, 1000000
    };
    ::nanosleep(&pause, nullptr);
#endif
  }
  for (int i = 0; i < kSlots; ++i) {
    if (g_used[i].load() != 1) continue;
#ifdef _WIN32
    DeleteFileW(g_paths[i]);
#else
    ::unlink(g_paths[i]);
#endif
  }
}

#ifdef _WIN32

BOOL WINAPI on_console_event(DWORD) {
  remove_all_remembered();
  return FALSE;  // the default handling ends the program
}

void install() { SetConsoleCtrlHandler(on_console_event, TRUE); }

#else

void on_signal(int sig) {
  remove_all_remembered();
  // End as the signal would have ended the program without this handler.
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

constexpr int kInterruptions[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void install() {
  // Failed writes are told by the writer (a full pipe's reader gone, a file-size limit reached).
  for (int sig : {SIGPIPE, SIGXFSZ}) {
    struct sigaction old {};
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
    struct sigaction sa {};
    sa.sa_handler = SIG_IGN;
    sigemptyset(&sa.sa_mask);
    ::sigaction(sig, &sa, nullptr);
  }
  for (int sig : kInterruptions) {
    struct sigaction old {};
    // An ignored signal stays ignored (nohup), and a handler of somebody else's is kept.
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    // One interruption at a time on a thread: the others wait until the files are removed.
    sigemptyset(&sa.sa_mask);
    for (int other : kInterruptions) sigaddset(&sa.sa_mask, other);
    ::sigaction(sig, &sa, nullptr);
  }
}

#endif

}  // namespace

void handle_interruptions() {
  if (!g_installed.exchange(true)) install();
}

TemporaryCreation::TemporaryCreation() {
  handle_interruptions();
#ifndef _WIN32
  sigset_t block;
  sigemptyset(&block);
  for (int sig : kInterruptions) sigaddset(&block, sig);
  ::pthread_sigmask(SIG_BLOCK, &block, &saved_mask_);
#endif
  // Announced before the flag is looked at, as the handler sets the flag before it waits.
  g_creating.fetch_add(1);
  allowed_ = !g_ending.load();
}

TemporaryCreation::~TemporaryCreation() {
  g_creating.fetch_sub(1);
#ifndef _WIN32
  ::pthread_sigmask(SIG_SETMASK, &saved_mask_, nullptr);
#endif
}

int remember_temporary(const std::filesystem::path& path) {
  handle_interruptions();
  const auto& native = path.native();
  if (native.size() >= kPathMax) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = 0;
    // 2: taken, being written; 1: a complete name the handler may remove.
    if (!g_used[i].compare_exchange_strong(expected, 2)) continue;
    std::memcpy(g_paths[i], native.c_str(), (native.size() + 1) * sizeof(NativeChar));
    g_used[i].store(1);
    return i;
  }
  return -1;
}

void forget_temporary(int slot) {
  if (slot >= 0 && slot < kSlots) g_used[slot].store(0);
}

}  // namespace tolvex::runtime
