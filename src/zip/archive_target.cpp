// SPDX-License-Identifier: MIT
#include "zip/archive_target.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

#include "runtime/temporary_files.h"
#include "zip/archive_error.h"

namespace tolvex::zip {

namespace {

// Sixteen hexadecimal digits from the system's random source.
bool random_suffix(std::string& out) {
  unsigned char bytes[8];
  if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) return false;
  static constexpr char kDigits[] = "0123456789abcdef";
  out.clear();
  for (unsigned char b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return true;
}

}  // namespace

ArchiveTarget::ArchiveTarget(int folder, std::string name, std::string shown)
    : folder_(folder), name_(std::move(name)), shown_(std::move(shown)) {
  zip_error_init(&error_);
  archive_.reset(::openat(folder_, name_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (!archive_) {
    if (errno == ENOENT) return;  // a new archive
    if (errno == ELOOP) throw ArchiveError(shown_ + ": a link stands at the archive's name");
    throw ArchiveError(system_failure(shown_, errno));
  }
  struct stat st {};
  if (::fstat(archive_.get(), &st) != 0) throw ArchiveError(system_failure(shown_, errno));
  if (!S_ISREG(st.st_mode)) throw ArchiveError(shown_ + ": not a regular file");
  existing_ = FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  size_ = static_cast<std::uint64_t>(st.st_size);
  mtime_ = static_cast<std::int64_t>(st.st_mtime);
  mode_ = st.st_mode & 07777;
}

ArchiveTarget::~ArchiveTarget() {
  remove_temporary();
  zip_error_fini(&error_);
}

zip_source_t* ArchiveTarget::make_source(zip_error_t* error) {
  return zip_source_function_create(&callback, this, error);
}

zip_int64_t ArchiveTarget::callback(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  return static_cast<ArchiveTarget*>(self)->handle(data, length, command);
}

zip_int64_t ArchiveTarget::fail(int zip_code, int err, const std::string& what) {
  zip_error_set(&error_, zip_code, err);
  if (failure_.empty()) failure_ = err ? system_failure(what, err) : what;
  return -1;
}

zip_int64_t ArchiveTarget::handle(void* data, zip_uint64_t length, zip_source_cmd_t command) {
  switch (command) {
    case ZIP_SOURCE_SUPPORTS:
      return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                            ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                            ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_COMMIT_WRITE,
                                            ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_WRITE, ZIP_SOURCE_SEEK_WRITE,
                                            ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_REMOVE, ZIP_SOURCE_ACCEPT_EMPTY, -1);
    case ZIP_SOURCE_ACCEPT_EMPTY:
      // Nothing there yet reads as an empty archive; an existing empty file is no archive.
      return existing_ ? 0 : 1;
    case ZIP_SOURCE_STAT: {
      auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &error_);
      if (!st) return -1;
      zip_stat_init(st);
      st->size = size_;
      st->mtime = static_cast<time_t>(mtime_);
      st->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_OPEN:
      offset_ = 0;
      return 0;
    case ZIP_SOURCE_READ: {
      if (!archive_ || offset_ >= size_) return 0;
      ssize_t n;
      do n = ::pread(archive_.get(), data, length, static_cast<off_t>(offset_));
      while (n < 0 && errno == EINTR);
      if (n < 0) return fail(ZIP_ER_READ, errno, shown_);
      offset_ += static_cast<std::uint64_t>(n);
      return n;
    }
    case ZIP_SOURCE_CLOSE:
      return 0;
    case ZIP_SOURCE_SEEK: {
      zip_int64_t at = zip_source_seek_compute_offset(offset_, size_, data, length, &error_);
      if (at < 0) return -1;
      offset_ = static_cast<std::uint64_t>(at);
      return 0;
    }
    case ZIP_SOURCE_TELL:
      return static_cast<zip_int64_t>(offset_);
    case ZIP_SOURCE_BEGIN_WRITE:
      return begin_write();
    case ZIP_SOURCE_WRITE:
      return write(data, length);
    case ZIP_SOURCE_SEEK_WRITE: {
      auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, &error_);
      if (!args) return -1;
      if (::lseek(temporary_.get(), args->offset, args->whence) < 0) return fail(ZIP_ER_SEEK, errno, temporary_name_);
      return 0;
    }
    case ZIP_SOURCE_TELL_WRITE: {
      off_t at = ::lseek(temporary_.get(), 0, SEEK_CUR);
      if (at < 0) return fail(ZIP_ER_TELL, errno, temporary_name_);
      return at;
    }
    case ZIP_SOURCE_COMMIT_WRITE:
      return commit_write();
    case ZIP_SOURCE_ROLLBACK_WRITE:
      remove_temporary();
      return 0;
    case ZIP_SOURCE_REMOVE:
      return 0;  // an archive is only ever added to: it is never removed
    case ZIP_SOURCE_ERROR:
      return zip_error_to_data(&error_, data, length);
    case ZIP_SOURCE_FREE:
      return 0;  // this object owns what the source uses
    default:
      zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0);
      return -1;
  }
}

zip_int64_t ArchiveTarget::begin_write() {
  // An unpredictable name, created only if nothing stands there: nobody can have prepared it.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix;
    if (!random_suffix(suffix)) return fail(ZIP_ER_TMPOPEN, errno, "no random name for a temporary file");
    std::string candidate = "." + name_ + "." + suffix + ".tmp";
    // Made and noted at once: an interruption (SIGTERM, SIGINT, SIGHUP, SIGQUIT) removes it.
    runtime::TemporaryCreation creating;
    if (!creating.allowed()) return fail(ZIP_ER_TMPOPEN, EINTR, "cannot create a temporary file beside " + shown_);
    int fd = ::openat(folder_, candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0)
      temporary_slot_ = runtime::remember_temporary(std::filesystem::path(shown_).replace_filename(candidate));
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return fail(ZIP_ER_TMPOPEN, errno, "cannot create a temporary file beside " + shown_);
    }
    temporary_.reset(fd);
    temporary_name_ = std::move(candidate);
    // The new archive keeps the permissions of the one it replaces.
    if (existing_ && ::fchmod(fd, mode_) != 0) return fail(ZIP_ER_TMPOPEN, errno, temporary_name_);
    return 0;
  }
  return fail(ZIP_ER_TMPOPEN, EEXIST, "cannot create a temporary file beside " + shown_);
}

zip_int64_t ArchiveTarget::write(const void* data, zip_uint64_t length) {
  const char* p = static_cast<const char*>(data);
  zip_uint64_t left = length;
  while (left > 0) {
    ssize_t n = ::write(temporary_.get(), p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail(ZIP_ER_WRITE, n < 0 ? errno : EIO, "writing " + shown_);
    p += n;
    left -= static_cast<zip_uint64_t>(n);
  }
  return static_cast<zip_int64_t>(length);
}

zip_int64_t ArchiveTarget::commit_write() {
  if (::fsync(temporary_.get()) != 0) return fail(ZIP_ER_WRITE, errno, "writing " + shown_);
  if (::renameat(folder_, temporary_name_.c_str(), folder_, name_.c_str()) != 0)
    return fail(ZIP_ER_RENAME, errno, "cannot put the new archive in place of " + shown_);
  temporary_name_.clear();
  runtime::forget_temporary(std::exchange(temporary_slot_, -1));
  // From now on the new archive is the one read.
  struct stat st {};
  if (::fstat(temporary_.get(), &st) != 0) return fail(ZIP_ER_READ, errno, shown_);
  archive_ = std::move(temporary_);
  existing_ = FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  size_ = static_cast<std::uint64_t>(st.st_size);
  mtime_ = static_cast<std::int64_t>(st.st_mtime);
  return 0;
}

void ArchiveTarget::remove_temporary() {
  temporary_.reset();
  if (!temporary_name_.empty()) ::unlinkat(folder_, temporary_name_.c_str(), 0);
  temporary_name_.clear();
  runtime::forget_temporary(std::exchange(temporary_slot_, -1));
}

}  // namespace tolvex::zip
