// SPDX-License-Identifier: MIT
// The archive being updated, as libzip reads and writes it. It reads the archive as it is (an
// empty one when there is none yet) and writes the new archive to a temporary file created
// exclusively, under an unpredictable name, in the archive's folder; only a complete write takes
// the archive's place, by renaming, so a failed run leaves the earlier archive as it was.
#pragma once

#include <zip.h>

#include <cstdint>
#include <optional>
#include <string>

#include "zip/archive_members.h"
#include "zip/unique_fd.h"

namespace tolvex::zip {

class ArchiveTarget {
 public:
  // `folder` is an open descriptor of the archive's folder, `name` the archive's file name in it,
  // `shown` the archive's path as messages give it. Throws ArchiveError when something other than
  // a regular file (a link, a folder) stands at the archive's name.
  ArchiveTarget(int folder, std::string name, std::string shown);
  ~ArchiveTarget();  // a temporary file still there is removed
  ArchiveTarget(const ArchiveTarget&) = delete;
  ArchiveTarget& operator=(const ArchiveTarget&) = delete;

  // The archive as found, when there is one.
  std::optional<FileIdentity> existing() const { return existing_; }
  // A libzip source over this target for zip_open_from_source; this object outlives it.
  zip_source_t* make_source(zip_error_t* error);
  // What failed, in words, once the source has reported an error; empty before.
  const std::string& failure() const { return failure_; }

 private:
  static zip_int64_t callback(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command);
  zip_int64_t handle(void* data, zip_uint64_t length, zip_source_cmd_t command);
  zip_int64_t fail(int zip_code, int err, const std::string& what);
  zip_int64_t begin_write();
  zip_int64_t write(const void* data, zip_uint64_t length);
  zip_int64_t commit_write();
  void remove_temporary();

  int folder_;
  std::string name_, shown_;
  UniqueFd archive_;  // the archive as it is, read by libzip
  std::optional<FileIdentity> existing_;
  std::uint64_t size_ = 0;
  std::int64_t mtime_ = 0;
  unsigned mode_ = 0;
  std::uint64_t offset_ = 0;  // libzip's reading position
  UniqueFd temporary_;
  std::string temporary_name_;
  int temporary_slot_ = -1;  // noted for removal on an interruption
  zip_error_t error_;
  std::string failure_;
};

}  // namespace tolvex::zip
