// SPDX-License-Identifier: MIT
// Writing a large file while the next part of it is made: each block is written to the file by
// a thread of its own while the caller fills another buffer, so that the kernel's copying of the
// bytes and the making of them overlap.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string_view>
#include <thread>

#include "runtime/file_error.h"

namespace tolvex::runtime {

class StagedFile;

class BackgroundWriter {
 public:
  // Writes to `file` (not owned), at the end of what is written.
  explicit BackgroundWriter(StagedFile& file);
  // Waits for the block being written.
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Waits until the block before is written, then starts writing `bytes`, which stay unchanged
  // until the next call to write() or wait(). After a failed write nothing more is written.
  void write(std::string_view bytes);
  // Waits until the block being written is written; the runtime code of the first failed write
  // (access_denied or disk_full for a short write), ok when all were written.
  Error wait();

 private:
  void run();

  StagedFile& file_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string_view block_;  // waiting to be written, or being written
  bool busy_ = false;
  bool stop_ = false;
  Error error_ = Error::ok;
  std::thread thread_;  // last: it starts when everything it uses is made
};

}  // namespace tolvex::runtime
