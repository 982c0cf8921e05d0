// SPDX-License-Identifier: MIT
// The packs of a batch converted on several threads, each ahead of its turn into a report, and
// handed over in the order of the listing (a reorder buffer): the batch plays each report in its
// turn. At
// most eight packs per thread wait converted (128 in all), so that memory and the files waiting
// for their names stay few.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/conversion/one_pack.h"
#include "core/conversion/pack_report.h"

namespace tolvex::app {

class ConversionThreads {
 public:
  // Starts `jobs` threads converting `packs` with the settings and services of `session`; the
  // boxes are answered by rule where `session.op` answers so. `session` and `packs`
  // outlive this object.
  ConversionThreads(const core::Session& session, const std::vector<std::filesystem::path>& packs, std::size_t jobs);
  // Stops the threads after the packs they are converting; every pack not handed over is given
  // up (its file removed).
  ~ConversionThreads();
  ConversionThreads(const ConversionThreads&) = delete;
  ConversionThreads& operator=(const ConversionThreads&) = delete;

  // Pack `i` of the listing, once it is converted; the packs are taken in order, 0, 1, 2 ...
  // While it is not, `waiting` is told every 50 ms how far the pack's documents have come (a
  // window stays responsive and shows them).
  using Waiting = std::function<void(long long done, long long announced)>;
  std::unique_ptr<core::PackReport> take(std::size_t i, const Waiting& waiting = {});

 private:
  void work();
  void stop();

  const core::Session& session_;
  const std::vector<std::filesystem::path>& packs_;
  const std::size_t window_;  // how far past the pack taken last a thread may start one
  static constexpr std::size_t kNobody = static_cast<std::size_t>(-1);

  std::mutex mutex_;
  std::condition_variable ready_;                        // the pack the batch waits for is converted
  std::condition_variable room_;                         // the window moved on
  std::vector<std::unique_ptr<core::PackReport>> done_;  // by number in the listing
  std::vector<std::exception_ptr> failed_;
  std::unique_ptr<core::DocumentsDone[]> documents_;  // by number in the listing
  std::size_t next_ = 0;                              // the next pack to start
  std::size_t taken_ = 0;                             // the packs handed over
  std::size_t waiting_for_ = kNobody;                 // the pack the batch waits for
  std::size_t threads_waiting_ = 0;                   // threads waiting for the window to move
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace tolvex::app
