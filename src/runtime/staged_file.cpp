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
bool same_file(int fd, const char* name, int dir) {
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

#ifndef _WIN32
namespace {

// The folder of `final_name`, opened once for the file's making, naming and sync: the temporary
// file is made, renamed and synced through it, with no walk of the whole path each time.
int open_folder_of(const std::filesystem::path& final_name) {
  std::filesystem::path folder = final_name.parent_path();
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return fd >= 0 ? fd : -errno;
}

}  // namespace
#endif

StagingFolder::~StagingFolder() {
#ifndef _WIN32
  if (fd_ >= 0) ::close(fd_);
#endif
}

bool StagingFolder::hold(const std::filesystem::path& folder) {
#ifndef _WIN32
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  prefix_.clear();
  std::filesystem::path::string_type name = folder.native();
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  fd_ = ::open(name.empty() ? "." : name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return false;
  prefix_ = name.empty() || name.back() == '/' ? name : name + '/';
  return true;
#else
  (void)folder;
  return false;
#endif
}

std::string_view StagingFolder::leaf_of(const std::filesystem::path& final_name) const {
#ifdef _WIN32
  (void)final_name;
  return {};
#else
  if (fd_ < 0) return {};
  const auto& n = final_name.native();
  if (n.size() <= prefix_.size() || n.compare(0, prefix_.size(), prefix_) != 0) return {};
  std::string_view leaf(n.data() + prefix_.size(), n.size() - prefix_.size());
  return leaf.find('/') == std::string_view::npos && leaf != "." && leaf != ".." ? leaf : std::string_view{};
#endif
}

FileIdentity StagingFolder::identity_at(const std::filesystem::path& final_name) const {
#ifndef _WIN32
  std::string_view leaf = leaf_of(final_name);
  if (leaf.empty()) return runtime::identity_at(final_name);
  struct stat st {};
  // The leaf ends the path's own string: a terminated string.
  if (::fstatat(fd_, leaf.data(), &st, AT_SYMLINK_NOFOLLOW) != 0) return {};
  return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
#else
  return runtime::identity_at(final_name);
#endif
}

Error StagedFile::create(const std::filesystem::path& final_name, const StagingFolder* held) {
  discard();
  final_ = final_name;
  temp_.clear();
  Error rc = Error::access_denied;
#ifndef _WIN32
  if (held && !held->leaf_of(final_name).empty()) {
    folder_ = held->descriptor();
    own_folder_ = false;
  } else {
    folder_ = open_folder_of(final_name);
    own_folder_ = true;
  }
  if (folder_ < 0) {
    rc = error_from_errno(-folder_);
    folder_ = -1;
    return rc;
  }
#else
  (void)held;
#endif
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = final_name;
    candidate += random_suffix();
    bool existed = false;
    // Made and noted at once: an interruption finds it noted, or finds it not made.
    TemporaryCreation creating;
    if (!creating.allowed()) {
      rc = Error::access_denied;
      break;
    }
#ifdef _WIN32
    rc = create_new_file(candidate, file_, &existed);
#else
    const std::string leaf = candidate.filename().native();
    int fd = ::openat(folder_, leaf.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      existed = errno == EEXIST;
      rc = error_from_errno(errno);
    } else {
      // Owned once locked and still linked: a clean-up of another run may have taken the file
      // between the create and the lock, and it removes only what it has locked, so a file it
      // took has no name left. Another name is then tried. (A file system without locks is
      // written without one.) The file's own descriptor keeps the lock until it has its name.
      struct stat st {};
      bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
      if (taken || ::fstat(fd, &st) != 0 || st.st_nlink == 0) {
        ::close(fd);
        rc = Error::access_denied;
        continue;
      }
      fd_ = fd;  // written with plain writes: the writers keep buffers of their own
      rc = Error::ok;
    }
#endif
    if (rc == Error::ok) {
#ifdef _WIN32
      std::setvbuf(file_, nullptr, _IONBF, 0);  // the writers keep buffers of their own
#endif
      temp_ = candidate;
      slot_ = remember_temporary(temp_);
      return rc;
    }
    if (!existed) break;
  }
  close_folder();
  return rc;
}

void StagedFile::close_folder() {
#ifndef _WIN32
  if (folder_ >= 0 && own_folder_) ::close(folder_);
  folder_ = -1;
#endif
}

Error StagedFile::write(std::string_view bytes) {
  if (!is_open()) return Error::not_open;
  errno = 0;
#ifdef _WIN32
  return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() ? Error::ok : short_write_error();
#else
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return short_write_error();
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return Error::ok;
#endif
}

Error StagedFile::finish() {
  if (!is_open()) return Error::not_open;
#ifdef _WIN32
  Error rc = sync_file(file_);
  errno = 0;
  if (std::fclose(file_) != 0 && rc == Error::ok) rc = short_write_error();
  file_ = nullptr;
#else
  Error rc = ::fsync(fd_) == 0 ? Error::ok : error_from_errno(errno);
#endif
  // On Linux the file stays open, and locked, until it has its name.
  if (rc != Error::ok) {
    forget_temporary_file(true);
    return rc;
  }
  finished_ = true;
  return rc;
}

Error StagedFile::publish() {
  if (!finished_) return Error::not_open;
  finished_ = false;
#ifdef _WIN32
  Error rc = replace_file(temp_, final_);
  forget_temporary_file(rc != Error::ok);
  if (rc != Error::ok) return rc;
  return sync_folder(final_.parent_path());
#else
  Error rc = ::renameat(folder_, temp_.filename().c_str(), folder_, final_.filename().c_str()) == 0
                 ? Error::ok
                 : error_from_errno(errno);
  if (rc != Error::ok) {
    forget_temporary_file(true);
    return rc;
  }
  forget_temporary(slot_);
  slot_ = -1;
  ::close(fd_);  // the lock goes with it: the file has its name
  fd_ = -1;
  if (::fsync(folder_) != 0 && errno != EINVAL) rc = error_from_errno(errno);  // EINVAL: not supported there
  close_folder();
  return rc;
#endif
}

void StagedFile::discard() {
  if (!file_ && fd_ < 0 && !finished_) return;
  finished_ = false;
  forget_temporary_file(true);
}

void StagedFile::forget_temporary_file(bool remove) {
  if (remove) {
#ifdef _WIN32
    if (file_) std::fclose(file_);
    file_ = nullptr;
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
#else
    // Removed while still locked and open: nobody else can have taken its name meanwhile.
    if (folder_ >= 0) ::unlinkat(folder_, temp_.filename().c_str(), 0);
#endif
  }
  forget_temporary(slot_);
  slot_ = -1;
#ifndef _WIN32
  if (fd_ >= 0) ::close(fd_);  // the name is final or gone: nothing left to own
  fd_ = -1;
#endif
  close_folder();
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
