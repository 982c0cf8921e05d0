// SPDX-License-Identifier: MIT
#include "runtime/files.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "runtime/file_error.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvex::runtime {

#ifdef _WIN32

namespace {

// A handle of a disk file as a C stream; the stream owns the handle from here on.
Error stream_of(HANDLE h, int flags, const char* mode, std::FILE*& file) {
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), flags | _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    return Error::too_many_open;
  }
  file = _fdopen(fd, mode);
  if (!file) {
    _close(fd);
    return Error::too_many_open;
  }
  return Error::ok;
}

// Only a disk file that is no directory and no link counts as a regular file.
Error check_regular(HANDLE h, bool links_refused, OpenedFile* facts = nullptr) {
  if (GetFileType(h) != FILE_TYPE_DISK) return Error::not_regular_file;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return error_from_windows(GetLastError());
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Error::access_denied;
  if (links_refused && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return Error::access_denied;
  if (facts) {
    facts->size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    facts->identity = {true, info.dwVolumeSerialNumber,
                       (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  }
  return Error::ok;
}

bool file_index(const std::filesystem::path& path, bool follow, BY_HANDLE_FILE_INFORMATION& info) {
  DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  return ok;
}

}  // namespace

Error open_for_reading(const std::filesystem::path& path, std::FILE*& file, OpenedFile* facts) {
  file = nullptr;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return error_from_windows(GetLastError());
  if (Error rc = check_regular(h, false, facts); rc != Error::ok) {
    CloseHandle(h);
    return rc;
  }
  return stream_of(h, _O_RDONLY, "rb", file);
}

namespace {

// The folder of `path` is a link (a junction, a symbolic link): nothing is opened through it.
bool folder_is_link(const std::filesystem::path& path) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) return false;
  DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

Error open_for_update(const std::filesystem::path& path, bool exclusive, std::FILE*& file) {
  file = nullptr;
  if (folder_is_link(path)) return Error::access_denied;
  // Exclusive: other programs may still read the file (a viewer), but not write it.
  DWORD share = FILE_SHARE_READ | (exclusive ? 0 : FILE_SHARE_WRITE);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return error_from_windows(GetLastError());
  if (Error rc = check_regular(h, true); rc != Error::ok) {
    CloseHandle(h);
    return rc;
  }
  return stream_of(h, _O_RDWR, "r+b", file);
}

Error create_new_file(const std::filesystem::path& path, std::FILE*& file, bool* existed, bool folder_link_refused) {
  file = nullptr;
  if (existed) *existed = false;
  if (folder_link_refused && folder_is_link(path)) return Error::access_denied;
  // Deleting stays possible while the file is open, so that an interrupted program can remove
  // its unfinished file.
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD err = GetLastError();
    if (existed) *existed = err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS;
    return error_from_windows(err);
  }
  return stream_of(h, _O_RDWR, "r+b", file);
}

Error sync_file(std::FILE* file) {
  if (std::fflush(file) != 0) return Error::access_denied;
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (!FlushFileBuffers(h)) return error_from_windows(GetLastError());
  return Error::ok;
}

// The rename is written through (MOVEFILE_WRITE_THROUGH): the folder needs no sync of its own.
Error sync_folder(const std::filesystem::path&) { return Error::ok; }

Error replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  // A file that somebody holds open a moment (a virus scanner, an indexer, a look at what has
  // the name from another thread) cannot be replaced until it is closed: a few tries, a second
  // in all, before the failure counts.
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return Error::ok;
    DWORD err = GetLastError();
    bool held = err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION;
    if (!held || attempt == 50) return error_from_windows(err);
    Sleep(20);
  }
}

FileIdentity identity_at(const std::filesystem::path& entry) {
  // Nothing there is told without opening anything.
  if (GetFileAttributesW(entry.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file_index(entry, false, info)) {
    // Something may be there that cannot be opened even to look at it (another program's
    // file held without sharing): it is there all the same.
    DWORD attributes = GetFileAttributesW(entry.c_str());
    return {attributes != INVALID_FILE_ATTRIBUTES, 0, 0};
  }
  return {true, info.dwVolumeSerialNumber,
          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

#else

namespace {

Error open_checked_fd(int fd, const char* mode, std::FILE*& file) {
  // The file is known to be a regular one, which reads and writes never wait on: O_NONBLOCK,
  // which kept the opening from waiting, makes no difference from here on.
  file = ::fdopen(fd, mode);
  if (!file) {
    int e = errno;
    ::close(fd);
    return error_from_errno(e);
  }
  return Error::ok;
}

Error check_regular(int fd, OpenedFile* facts = nullptr) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return error_from_errno(errno);
  if (S_ISDIR(st.st_mode)) return Error::access_denied;
  if (!S_ISREG(st.st_mode)) return Error::not_regular_file;
  if (facts) {
    facts->size = static_cast<std::uint64_t>(st.st_size);
    facts->identity = {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  }
  return Error::ok;
}

// Opens the file `path` through its folder, a link neither at the folder nor at the file's
// name followed: -1 with errno set (EACCES for a link) on failure.
int open_in_own_folder(const std::filesystem::path& path, int flags, mode_t mode = 0) {
  std::filesystem::path folder = path.parent_path();
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) {
    // ELOOP: a link at the folder's name; ENOTDIR: a link there to something else, or a file.
    if (errno == ELOOP || errno == ENOTDIR) errno = EACCES;
    return -1;
  }
  int fd = ::openat(dir, path.filename().c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
  int e = errno;
  ::close(dir);
  errno = e == ELOOP ? EACCES : e;
  return fd;
}

}  // namespace

Error open_for_reading(const std::filesystem::path& path, std::FILE*& file, OpenedFile* facts) {
  file = nullptr;
  // O_NONBLOCK: opening a pipe without a writer returns at once instead of waiting for one.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return error_from_errno(errno);
  if (Error rc = check_regular(fd, facts); rc != Error::ok) {
    ::close(fd);
    return rc;
  }
  return open_checked_fd(fd, "rb", file);
}

Error open_for_update(const std::filesystem::path& path, bool exclusive, std::FILE*& file) {
  file = nullptr;
  int fd = open_in_own_folder(path, O_RDWR | O_NONBLOCK);
  if (fd < 0) return error_from_errno(errno);
  if (Error rc = check_regular(fd); rc != Error::ok) {
    ::close(fd);
    return rc;
  }
  if (exclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return Error::locked;
  }
  return open_checked_fd(fd, "r+b", file);
}

Error create_new_file(const std::filesystem::path& path, std::FILE*& file, bool* existed, bool folder_link_refused) {
  file = nullptr;
  if (existed) *existed = false;
  const int flags = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = folder_link_refused ? open_in_own_folder(path, flags, 0666) : ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    if (existed) *existed = errno == EEXIST;
    return error_from_errno(errno);
  }
  return open_checked_fd(fd, "r+b", file);
}

Error sync_file(std::FILE* file) {
  if (std::fflush(file) != 0) return error_from_errno(errno);
  if (::fsync(::fileno(file)) != 0) return error_from_errno(errno);
  return Error::ok;
}

Error sync_folder(const std::filesystem::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return error_from_errno(errno);
  Error rc = ::fsync(fd) == 0 || errno == EINVAL ? Error::ok : error_from_errno(errno);  // EINVAL: not supported there
  ::close(fd);
  return rc;
}

Error replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? Error::ok : error_from_errno(errno);
}

FileIdentity identity_at(const std::filesystem::path& entry) {
  struct stat st {};
  if (::lstat(entry.c_str(), &st) != 0) return {};
  return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

#endif

std::size_t read_some(std::FILE* file, char* to, std::size_t size, bool& failed) {
  std::size_t got = 0;
  while (got < size) {
#ifdef _WIN32
    const unsigned ask = static_cast<unsigned>(std::min<std::size_t>(size - got, 1u << 30));
    int n = _read(_fileno(file), to + got, ask);
#else
    const std::size_t ask = std::min<std::size_t>(size - got, 1u << 30);
    ssize_t n = ::read(fileno(file), to + got, ask);
    if (n < 0 && errno == EINTR) continue;
#endif
    if (n < 0) {
      failed = true;
      break;
    }
    got += static_cast<std::size_t>(n);
    // A regular file gives all that is asked unless its end comes first.
    if (static_cast<std::size_t>(n) < ask) break;
  }
  return got;
}

Error read_small_file(const std::filesystem::path& path, std::size_t max_size, std::string& bytes, bool& too_large) {
  bytes.clear();
  too_large = false;
  std::FILE* f = nullptr;
  if (Error rc = open_for_reading(path, f); rc != Error::ok) return rc;
  // Read one byte more than allowed: a file that grows while it is read is caught too.
  std::vector<char> chunk(64 * 1024);
  Error rc = Error::ok;
  for (;;) {
    std::size_t got = std::fread(chunk.data(), 1, chunk.size(), f);
    bytes.append(chunk.data(), got);
    if (bytes.size() > max_size) {
      too_large = true;
      bytes.clear();
      rc = Error::out_of_memory;
      break;
    }
    if (got < chunk.size()) {
      if (std::ferror(f)) rc = Error::stream_error;
      break;
    }
  }
  std::fclose(f);
  return rc;
}

}  // namespace tolvex::runtime
