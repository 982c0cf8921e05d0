// SPDX-License-Identifier: MIT
#include "runtime/staged_file.h"

#include <cstdint>
#include <random>
#include <system_error>

#include "runtime/file_error.h"
#include "runtime/files.h"
#include "runtime/temporary_files.h"

namespace tolvex::runtime {

namespace {

// ".<eight letters or digits>.tmp" from the system's random source, opened once per thread.
std::filesystem::path::string_type random_suffix() {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::random_device rd;
  std::uint64_t bits = (static_cast<std::uint64_t>(rd()) << 32) | rd();  // 36^8 < 2^64
  std::filesystem::path::string_type out;
  out.push_back('.');
  for (int i = 0; i < 8; ++i, bits /= 36)
    out.push_back(static_cast<std::filesystem::path::value_type>(kAlphabet[bits % 36]));
  for (char c : std::string_view(".tmp")) out.push_back(static_cast<std::filesystem::path::value_type>(c));
  return out;
}

}  // namespace

StagedFile::~StagedFile() { discard(); }

int StagedFile::create(const std::filesystem::path& final_name) {
  discard();
  final_ = final_name;
  temp_.clear();
  int rc = error::access_denied;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = final_name;
    candidate += random_suffix();
    bool existed = false;
    // Made and noted at once: an interruption finds it noted, or finds it not made.
    TemporaryCreation creating;
    if (!creating.allowed()) return error::access_denied;
    rc = create_new_file(candidate, file_, &existed);
    if (rc == error::ok) {
      std::setvbuf(file_, nullptr, _IONBF, 0);  // the writers keep buffers of their own
      temp_ = candidate;
      slot_ = remember_temporary(temp_);
      return rc;
    }
    if (!existed) break;
  }
  return rc;
}

int StagedFile::write(std::string_view bytes) {
  if (!file_) return error::not_open;
  return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() ? error::ok : error::access_denied;
}

int StagedFile::finish() {
  if (!file_) return error::not_open;
  int rc = sync_file(file_);
  if (std::fclose(file_) != 0 && rc == error::ok) rc = error::access_denied;
  file_ = nullptr;
  if (rc != error::ok) {
    forget_temporary_file(true);
    return rc;
  }
  finished_ = true;
  return rc;
}

int StagedFile::publish() {
  if (!finished_) return error::not_open;
  finished_ = false;
  int rc = replace_file(temp_, final_);
  forget_temporary_file(rc != error::ok);
  if (rc != error::ok) return rc;
  return sync_folder(final_.parent_path());
}

void StagedFile::discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  } else if (!finished_) {
    return;
  }
  finished_ = false;
  forget_temporary_file(true);
}

void StagedFile::forget_temporary_file(bool remove) {
  if (remove) {
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
  }
  forget_temporary(slot_);
  slot_ = -1;
}

}  // namespace tolvex::runtime
