#include "runtime/files.h"

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
int stream_of(HANDLE h, int flags, const char* mode, std::FILE*& file) {
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), flags | _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    return error::too_many_open;
  }
  file = _fdopen(fd, mode);
  if (!file) {
    _close(fd);
    return error::too_many_open;
  }
  return error::ok;
}

// Only a disk file that is no directory and no link counts as a regular file.
int check_regular(HANDLE h, bool links_refused, std::uint64_t* size = nullptr) {
  if (GetFileType(h) != FILE_TYPE_DISK) return error::not_regular_file;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return error_from_windows(GetLastError());
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return error::access_denied;
  if (links_refused && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return error::access_denied;
  if (size) *size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return error::ok;
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

int open_for_reading(const std::filesystem::path& path, std::FILE*& file, std::uint64_t* size) {
  file = nullptr;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return error_from_windows(GetLastError());
  if (int rc = check_regular(h, false, size)) {
    CloseHandle(h);
    return rc;
  }
  return stream_of(h, _O_RDONLY, "rb", file);
}

int open_for_update(const std::filesystem::path& path, bool exclusive, std::FILE*& file) {
  file = nullptr;
  // Exclusive: other programs may still read the file (a viewer), but not write it.
  DWORD share = FILE_SHARE_READ | (exclusive ? 0 : FILE_SHARE_WRITE);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return error_from_windows(GetLastError());
  if (int rc = check_regular(h, true)) {
    CloseHandle(h);
    return rc;
  }
  return stream_of(h, _O_RDWR, "r+b", file);
}

int create_new_file(const std::filesystem::path& path, std::FILE*& file, bool* existed) {
  file = nullptr;
  if (existed) *existed = false;
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

int sync_file(std::FILE* file) {
  if (std::fflush(file) != 0) return error::access_denied;
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (!FlushFileBuffers(h)) return error_from_windows(GetLastError());
  return error::ok;
}

// The rename is written through (MOVEFILE_WRITE_THROUGH): the folder needs no sync of its own.
int sync_folder(const std::filesystem::path&) { return error::ok; }

int replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return error_from_windows(GetLastError());
  return error::ok;
}

bool same_file(const std::filesystem::path& existing, const std::filesystem::path& entry) {
  BY_HANDLE_FILE_INFORMATION a{}, b{};
  if (!file_index(existing, true, a) || !file_index(entry, false, b)) return false;
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

#else

namespace {

int open_checked_fd(int fd, const char* mode, std::FILE*& file) {
  // The check is made; from here on reads and writes wait as usual.
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0 && (flags & O_NONBLOCK)) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  file = ::fdopen(fd, mode);
  if (!file) {
    int e = errno;
    ::close(fd);
    return error_from_errno(e);
  }
  return error::ok;
}

int check_regular(int fd, std::uint64_t* size = nullptr) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return error_from_errno(errno);
  if (S_ISDIR(st.st_mode)) return error::access_denied;
  if (!S_ISREG(st.st_mode)) return error::not_regular_file;
  if (size) *size = static_cast<std::uint64_t>(st.st_size);
  return error::ok;
}

}  // namespace

int open_for_reading(const std::filesystem::path& path, std::FILE*& file, std::uint64_t* size) {
  file = nullptr;
  // O_NONBLOCK: opening a pipe without a writer returns at once instead of waiting for one.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return error_from_errno(errno);
  if (int rc = check_regular(fd, size)) {
    ::close(fd);
    return rc;
  }
  return open_checked_fd(fd, "rb", file);
}

int open_for_update(const std::filesystem::path& path, bool exclusive, std::FILE*& file) {
  file = nullptr;
  int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return error_from_errno(errno == ELOOP ? EACCES : errno);
  if (int rc = check_regular(fd)) {
    ::close(fd);
    return rc;
  }
  if (exclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return error::locked;
  }
  return open_checked_fd(fd, "r+b", file);
}

int create_new_file(const std::filesystem::path& path, std::FILE*& file, bool* existed) {
  file = nullptr;
  if (existed) *existed = false;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (existed) *existed = errno == EEXIST;
    return error_from_errno(errno);
  }
  return open_checked_fd(fd, "r+b", file);
}

int sync_file(std::FILE* file) {
  if (std::fflush(file) != 0) return error_from_errno(errno);
  if (::fsync(::fileno(file)) != 0) return error_from_errno(errno);
  return error::ok;
}

int sync_folder(const std::filesystem::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return error_from_errno(errno);
  int rc = ::fsync(fd) == 0 || errno == EINVAL ? error::ok : error_from_errno(errno);  // EINVAL: not supported there
  ::close(fd);
  return rc;
}

int replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? error::ok : error_from_errno(errno);
}

bool same_file(const std::filesystem::path& existing, const std::filesystem::path& entry) {
  struct stat a {};
  struct stat b {};
  if (::stat(existing.c_str(), &a) != 0 || ::lstat(entry.c_str(), &b) != 0) return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

#endif

int read_small_file(const std::filesystem::path& path, std::size_t max_size, std::string& bytes, bool& too_large) {
  bytes.clear();
  too_large = false;
  std::FILE* f = nullptr;
  if (int rc = open_for_reading(path, f)) return rc;
  // Read one byte more than allowed: a file that grows while it is read is caught too.
  std::vector<char> chunk(64 * 1024);
  int rc = error::ok;
  for (;;) {
    std::size_t got = std::fread(chunk.data(), 1, chunk.size(), f);
    bytes.append(chunk.data(), got);
    if (bytes.size() > max_size) {
      too_large = true;
      bytes.clear();
      rc = error::out_of_memory;
      break;
    }
    if (got < chunk.size()) {
      if (std::ferror(f)) rc = error::stream_error;
      break;
    }
  }
  std::fclose(f);
  return rc;
}

}  // namespace tolvex::runtime
