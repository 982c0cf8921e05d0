// SPDX-License-Identifier: MIT
// A file that takes its name only when it is whole and on the disk. It is created new, under
// a name nobody can guess, beside its final name; written; synced; renamed into place; and the
// folder synced. Until then the final name keeps what it had, and on any failure, on an
// interruption or when the file is given up, the temporary file is removed. The output XML
// and the settings file are written this way.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "runtime/file_error.h"
#include "runtime/files.h"

namespace tolvex::runtime {

// A folder held open while a run makes many staged files in it: each is looked up, created,
// renamed and synced through the one descriptor, with no walk of the folder's path and no open of
// the folder per file. Files named elsewhere are made as without it. Nothing is held on Windows.
class StagingFolder {
 public:
  StagingFolder() = default;
  ~StagingFolder();
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  // Holds `folder` (a link to a folder leads to it, as when each file opened it); false when it
  // cannot be opened, and the files are then made as without it.
  bool hold(const std::filesystem::path& folder);
  // The name of `final_name` in the folder held, or empty when it lies elsewhere.
  std::string_view leaf_of(const std::filesystem::path& final_name) const;
  // What is at `final_name` (a link not followed), as identity_at gives it.
  FileIdentity identity_at(const std::filesystem::path& final_name) const;
  int descriptor() const { return fd_; }

 private:
  int fd_ = -1;
  std::filesystem::path::string_type prefix_;  // the folder's name with a separator
};

class StagedFile {
 public:
  StagedFile() = default;
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Creates the temporary file for `final_name` in the same folder. Nothing already there is
  // followed, truncated or removed: a name that exists is passed over for another. With `held`,
  // a file of that folder is made through it.
  Error create(const std::filesystem::path& final_name, const StagingFolder* held = nullptr);
  bool is_open() const { return (file_ != nullptr || fd_ >= 0) && !finished_; }
  // Writes all of `bytes` (error 5 for a short write), at the end of what is written. One thread
  // at a time.
  Error write(std::string_view bytes);

  // Syncs the bytes, closes the file, renames it to its final name and syncs the folder. On a
  // failure before the rename the temporary file is removed and the final name is untouched.
  Error commit() {
    Error rc = finish();
    return rc != Error::ok ? rc : publish();
  }
  // The two halves of commit: the bytes synced and the file closed, still under its temporary
  // name (removed when that fails); then the rename and the folder's sync (the temporary file
  // removed when the rename fails). Between them the file waits, complete, for its turn.
  Error finish();
  Error publish();
  bool is_finished() const { return finished_; }
  // Closes and removes the temporary file, open or finished; nothing happens to the final name.
  void discard();

  const std::filesystem::path& temporary_name() const { return temp_; }

 private:
  void forget_temporary_file(bool remove);
  void close_folder();

  // On Linux the temporary file is locked (flock) from its making until it has its final name or
  // is removed, and stays open that long (a finished file too): whoever holds the lock owns the
  // file. A program ended by SIGKILL loses its locks with its life.
  std::FILE* file_ = nullptr;  // Windows
  int fd_ = -1;                // Linux
  int folder_ = -1;            // Linux: the folder it is made, renamed and synced in
  bool own_folder_ = false;    // opened for this file, not held for the run
  bool finished_ = false;
  std::filesystem::path final_, temp_;
  int slot_ = -1;
};

// Removes the temporary files of `folder` that a program ended without a chance to clean up
// (SIGKILL, a power cut) left behind: regular files of this user named "<stem>.<8 letters or
// digits>.tmp" whose stem begins with `stem_begins` and ends with `stem_ends`, and that no live
// program owns. A run owns a temporary file from the moment it takes its name (an exclusive flock
// taken right after the exclusive create, then the name checked to lead to the file still) until
// the file has its final name or is removed; the kernel drops the lock of a program however it
// ends. A file is removed only while this call holds that lock itself, so none that a live run
// owns is ever touched. Does nothing on Windows. Returns how many were removed.
int remove_abandoned_temporaries(const std::filesystem::path& folder, std::string_view stem_begins,
                                 std::string_view stem_ends);

}  // namespace tolvex::runtime
