// SPDX-License-Identifier: MIT
#include "zip/member_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "zip/archive_error.h"
#include "zip/unique_fd.h"

namespace tolvex::zip {

namespace {

struct MemberReader {
  const Member& member;
  std::string& failure;
  UniqueFd file;
  zip_error_t error;

  zip_int64_t fail(int zip_code, int err, const std::string& what) {
    zip_error_set(&error, zip_code, err);
    if (failure.empty()) failure = err ? system_failure(what, err) : what;
    return -1;
  }

  zip_int64_t open() {
    int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (member.named ? 0 : O_NOFOLLOW);
    file.reset(::open(member.source.c_str(), flags));
    if (!file) return fail(ZIP_ER_OPEN, errno, member.source.string());
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) return fail(ZIP_ER_OPEN, errno, member.source.string());
    FileIdentity now{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    if (!S_ISREG(st.st_mode) || now != member.identity)
      return fail(ZIP_ER_CHANGED, 0, member.source.string() + ": replaced by another file while being archived");
    return 0;
  }

  zip_int64_t read(void* data, zip_uint64_t length) {
    ssize_t n;
    do n = ::read(file.get(), data, length);
    while (n < 0 && errno == EINTR);
    if (n < 0) return fail(ZIP_ER_READ, errno, member.source.string());
    return n;
  }
};

zip_int64_t callback(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  auto* reader = static_cast<MemberReader*>(self);
  switch (command) {
    case ZIP_SOURCE_SUPPORTS:
      return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                            ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SUPPORTS, -1);
    case ZIP_SOURCE_OPEN:
      return reader->open();
    case ZIP_SOURCE_READ:
      return reader->read(data, length);
    case ZIP_SOURCE_CLOSE:
      reader->file.reset();
      return 0;
    case ZIP_SOURCE_STAT: {
      auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &reader->error);
      if (!st) return -1;
      zip_stat_init(st);
      st->size = reader->member.size;
      st->mtime = static_cast<time_t>(reader->member.mtime);
      st->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
      return zip_error_to_data(&reader->error, data, length);
    case ZIP_SOURCE_FREE:
      zip_error_fini(&reader->error);
      delete reader;
      return 0;
    default:
      zip_error_set(&reader->error, ZIP_ER_OPNOTSUPP, 0);
      return -1;
  }
}

}  // namespace

zip_source_t* member_source(zip_t* archive, const Member& member, std::string& failure) {
  auto* reader = new MemberReader{member, failure, UniqueFd(), {}};
  zip_error_init(&reader->error);
  zip_source_t* source = zip_source_function(archive, &callback, reader);
  if (!source) {
    zip_error_fini(&reader->error);
    delete reader;
  }
  return source;
}

}  // namespace tolvex::zip
