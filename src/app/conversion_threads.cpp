// SPDX-License-Identifier: MIT
#include "app/conversion_threads.h"

#include <algorithm>
#include <chrono>

namespace tolvex::app {

namespace {

// How many packs past the one the batch takes next may be started: enough that the threads
// seldom wait for the batch, few enough that the files waiting for their names stay few.
std::size_t window_for(std::size_t jobs) { return std::min<std::size_t>(8 * jobs, 128); }

}  // namespace

ConversionThreads::ConversionThreads(const core::Session& session, const std::vector<std::filesystem::path>& packs,
                                     std::size_t jobs)
    : session_(session),
      packs_(packs),
      window_(window_for(jobs)),
      done_(packs.size()),
      failed_(packs.size()),
      documents_(std::make_unique<core::DocumentsDone[]>(packs.size())) {
  jobs = std::min(jobs, packs.size());
  threads_.reserve(jobs);
  try {
    for (std::size_t t = 0; t < jobs; ++t) threads_.emplace_back([this] { work(); });
  } catch (...) {
    stop();
    throw;
  }
}

ConversionThreads::~ConversionThreads() {
  stop();
  // The packs converted and not handed over go with done_: their files are removed.
}

void ConversionThreads::stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  room_.notify_all();
  for (auto& t : threads_) t.join();
  threads_.clear();
}

std::unique_ptr<core::PackReport> ConversionThreads::take(std::size_t i, const Waiting& waiting) {
  std::unique_lock lock(mutex_);
  waiting_for_ = i;
  const auto ready = [&] { return done_[i] != nullptr || failed_[i] != nullptr; };
  while (!ready_.wait_for(lock, std::chrono::milliseconds(50), ready)) {
    if (!waiting) continue;
    lock.unlock();
    waiting(documents_[i].done.load(std::memory_order_relaxed),
            documents_[i].announced.load(std::memory_order_relaxed));
    lock.lock();
  }
  waiting_for_ = kNobody;
  if (failed_[i]) std::rethrow_exception(failed_[i]);
  std::unique_ptr<core::PackReport> pack = std::move(done_[i]);
  taken_ = i + 1;
  // The window moves on. Threads waiting for it are woken when half of it is free again, so that
  // they start several packs for each time they are woken rather than one.
  const bool wake = threads_waiting_ > 0 && taken_ + window_ >= next_ + window_ / 2;
  lock.unlock();
  if (wake) room_.notify_all();
  return pack;
}

void ConversionThreads::work() {
  for (;;) {
    std::size_t i;
    {
      std::unique_lock lock(mutex_);
      ++threads_waiting_;
      room_.wait(lock, [&] { return stop_ || next_ >= packs_.size() || next_ < taken_ + window_; });
      --threads_waiting_;
      if (stop_ || next_ >= packs_.size()) return;
      i = next_++;
    }
    std::unique_ptr<core::PackReport> pack;
    std::exception_ptr failure;
    try {
      // The report keeps what the conversion throws for the pack's turn. The other threads
      // convert packs of their own: the bytes are written on this one.
      pack = std::make_unique<core::PackReport>(
          core::convert_unattended(session_, packs_[i], &documents_[i], /*write_behind=*/false));
    } catch (...) {
      failure = std::current_exception();  // no memory for the pack's record
    }
    bool wanted;
    {
      std::lock_guard lock(mutex_);
      done_[i] = std::move(pack);
      failed_[i] = failure;
      wanted = waiting_for_ == i;
    }
    if (wanted) ready_.notify_one();
  }
}

}  // namespace tolvex::app
