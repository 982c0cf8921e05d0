#include "app/packs_ahead.h"

#include <algorithm>

namespace tolvex::app {

PacksAhead::PacksAhead(const core::Session& session, const std::vector<std::filesystem::path>& packs, std::size_t jobs)
    : session_(session), packs_(packs), window_(2 * jobs), done_(packs.size()), failed_(packs.size()) {
  jobs = std::min(jobs, packs.size());
  threads_.reserve(jobs);
  try {
    for (std::size_t t = 0; t < jobs; ++t) threads_.emplace_back([this] { work(); });
  } catch (...) {
    stop();
    throw;
  }
}

PacksAhead::~PacksAhead() {
  stop();
  // The packs converted and not handed over go with done_: their files are removed.
}

void PacksAhead::stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  for (auto& t : threads_) t.join();
  threads_.clear();
}

std::unique_ptr<core::PackAhead> PacksAhead::take(std::size_t i) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return done_[i] != nullptr || failed_[i] != nullptr; });
  if (failed_[i]) std::rethrow_exception(failed_[i]);
  std::unique_ptr<core::PackAhead> pack = std::move(done_[i]);
  taken_ = i + 1;
  lock.unlock();
  changed_.notify_all();  // the window moves on
  return pack;
}

void PacksAhead::work() {
  for (;;) {
    std::size_t i;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || next_ >= packs_.size() || next_ < taken_ + window_; });
      if (stop_ || next_ >= packs_.size()) return;
      i = next_++;
    }
    std::unique_ptr<core::PackAhead> pack;
    std::exception_ptr failure;
    try {
      pack = std::make_unique<core::PackAhead>(session_.op);
      pack->convert(session_, packs_[i]);  // keeps what the conversion throws for the pack's turn
    } catch (...) {
      failure = std::current_exception();  // no memory for the pack's record
    }
    {
      std::lock_guard lock(mutex_);
      done_[i] = std::move(pack);
      failed_[i] = failure;
    }
    changed_.notify_all();
  }
}

}  // namespace tolvex::app
