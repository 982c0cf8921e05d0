// SPDX-License-Identifier: MIT
#include "runtime/background_writer.h"

#include <cerrno>

#include "runtime/file_error.h"
#include "runtime/staged_file.h"

namespace tolvex::runtime {

BackgroundWriter::BackgroundWriter(StagedFile& file) : file_(file), thread_([this] { run(); }) {}

BackgroundWriter::~BackgroundWriter() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void BackgroundWriter::write(std::string_view bytes) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
  if (error_ != Error::ok || bytes.empty()) return;
  block_ = bytes;
  busy_ = true;
  lock.unlock();
  changed_.notify_all();
}

Error BackgroundWriter::wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
  return error_;
}

void BackgroundWriter::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return busy_ || stop_; });
    if (!busy_) return;
    std::string_view block = block_;
    lock.unlock();
    Error code = file_.write(block);
    lock.lock();
    if (code != Error::ok) error_ = code;
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace tolvex::runtime
