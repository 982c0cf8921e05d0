// SPDX-License-Identifier: MIT
#include "runtime/staged_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <random>
#include <system_error>

#include "runtime/file_error.h"
#include "runtime/files.h"
#include "runtime/temporary_files.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

#ifndef _WIN32
bool same_file(int fd, const char* name, int dir = AT_FDCWD) {
  struct stat by_fd {
  }, by_name{};
  return ::fstat(fd, &by_fd) == 0 && ::fstatat(dir, name, &by_name, AT_SYMLINK_NOFOLLOW) == 0 &&
         by_fd.st_dev == by_name.st_dev && by_fd.st_ino == by_name.st_ino;
}

bool all_of(std::string_view text, std::string_view allowed) {
  return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}
#endif

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
#ifndef _WIN32
    if (rc == error::ok) {
      // Owned once locked and still at its name: a clean-up of another run may have taken the
      // file between the create and the lock (it then removes it): another name is tried.
      // (A file system without locks is written without one.)
      int fd = ::fileno(file_);
      bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
      if (taken || !same_file(fd, candidate.c_str())) {
        std::fclose(file_);
        file_ = nullptr;
        rc = error::access_denied;
        continue;
      }
      // The lock's own descriptor keeps it while a finished file waits for its name; without a
      // descriptor to spare it lasts until the file is closed.
      lock_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    }
#endif
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
  errno = 0;
  return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() ? error::ok : short_write_error();
}

int StagedFile::finish() {
  if (!file_) return error::not_open;
  int rc = sync_file(file_);
  errno = 0;
  if (std::fclose(file_) != 0 && rc == error::ok) rc = short_write_error();
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
#ifndef _WIN32
  if (lock_ >= 0) ::close(lock_);  // the name is gone: nothing left to own
#endif
  lock_ = -1;
}

int remove_abandoned_temporaries(const std::filesystem::path& folder, std::string_view stem_begins,
                                 std::string_view stem_ends) {
  int removed = 0;
#ifndef _WIN32
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) return 0;
  int listing = ::dup(dir);
  DIR* d = listing >= 0 ? ::fdopendir(listing) : nullptr;
  if (!d) {
    if (listing >= 0) ::close(listing);
    ::close(dir);
    return 0;
  }
  constexpr std::string_view kTmp = ".tmp";
  constexpr std::size_t kSuffix = 1 + 8 + kTmp.size();
  while (dirent* e = ::readdir(d)) {
    std::string_view name = e->d_name;
    if (name.size() <= kSuffix || name.substr(name.size() - kTmp.size()) != kTmp) continue;
    std::string_view stem = name.substr(0, name.size() - kSuffix);
    std::string_view random = name.substr(stem.size() + 1, 8);
    if (name[stem.size()] != '.' || !all_of(random, "abcdefghijklmnopqrstuvwxyz0123456789")) continue;
    if (stem.substr(0, std::min(stem.size(), stem_begins.size())) != stem_begins || stem.size() < stem_ends.size() ||
        stem.substr(stem.size() - stem_ends.size()) != stem_ends)
      continue;
    int fd = ::openat(dir, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    // Only a regular file of this user's, owned by nobody alive, and still at this name.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && same_file(fd, e->d_name, dir) && ::unlinkat(dir, e->d_name, 0) == 0)
      ++removed;
    ::close(fd);
  }
  ::closedir(d);
  ::close(dir);
#else
  (void)folder, (void)stem_begins, (void)stem_ends;
#endif
  return removed;
}

}  // namespace tolvex::runtime
