// SPDX-License-Identifier: MIT
#include "zip/archive_update.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <thread>

#include "zip/archive_error.h"
#include "zip/archive_target.h"
#include "zip/member_source.h"
#include "zip/unique_fd.h"

namespace fs = std::filesystem;

namespace tolvex::zip {

namespace {

struct Discard {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};

// Names are stored as UTF-8 with the archive's UTF-8 mark; a name that is not valid UTF-8 is
// stored as its bytes.
bool add_member(zip_t* archive, const Member& member, std::string& failure) {
  zip_source_t* source = member_source(archive, member, failure);
  if (!source) return false;
  zip_int64_t index = zip_file_add(archive, member.name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
  if (index < 0 && zip_error_code_zip(zip_get_error(archive)) == ZIP_ER_INVAL) {
    zip_error_clear(archive);
    index = zip_file_add(archive, member.name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
  }
  if (index < 0) zip_source_free(source);
  return index >= 0;
}

}  // namespace

fs::path archive_path(const std::string& argument) {
  fs::path path(argument);
  if (!path.has_extension()) path += ".zip";
  return path;
}

namespace {

// Takes the lock of the archive's folder: its lock file, created by the archiver's user and
// readable by nobody else, so that no other user can hold it (as anyone could a lock on the folder
// itself). Waits for another run at most `wait`. A file system without locks (some network shares)
// is written without one rather than not at all.
UniqueFd lock_folder(int dir, const fs::path& folder, std::chrono::milliseconds wait) {
  UniqueFd lock(::openat(dir, kLockName, O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600));
  const std::string shown = (folder / kLockName).string();
  if (!lock) throw ArchiveError(system_failure(shown, errno));
  struct stat st {};
  if (::fstat(lock.get(), &st) != 0) throw ArchiveError(system_failure(shown, errno));
  if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
    throw ArchiveError(shown + ": the lock file is not the archiver user's own");
  if ((st.st_mode & 077) != 0 && ::fchmod(lock.get(), 0600) != 0) throw ArchiveError(system_failure(shown, errno));
  const auto until = std::chrono::steady_clock::now() + wait;
  while (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) break;
    if (errno != EWOULDBLOCK && errno != EINTR) throw ArchiveError(system_failure(shown, errno));
    if (std::chrono::steady_clock::now() >= until)
      throw ArchiveError(folder.string() + ": another archiver has held the folder too long; nothing was added");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return lock;
}

}  // namespace

std::vector<std::string> add_to_archive(const std::string& argument, const std::vector<std::string>& files,
                                        std::chrono::milliseconds wait_for_lock) {
  const fs::path archive = archive_path(argument);
  const std::string shown = archive.string();
  const std::string name = archive.filename().string();
  if (name.empty() || name == "." || name == ".." || name == ".zip")
    throw ArchiveError(argument + ": not an archive name");
  fs::path folder = archive.parent_path();
  if (folder.empty()) folder = ".";

  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw ArchiveError(system_failure("cannot make the folder " + folder.string(), ec.value()));
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!dir) throw ArchiveError(system_failure(folder.string(), errno));
  // Another archiver at work in this folder finishes first, so every run reads the archive as the
  // run before it left it and no run's files are lost.
  UniqueFd lock = lock_folder(dir.get(), folder, wait_for_lock);

  ArchiveTarget target(dir.get(), name, shown);
  std::vector<std::string> problems;
  std::vector<Member> members = plan_members(files, target.existing(), problems);

  // A file that cannot be read when the archive is written is left out, and the rest written again.
  while (!members.empty()) {
    std::vector<std::string> failures(members.size());  // what went wrong with each file, if anything
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = target.make_source(&error);
    zip_t* opened = source ? zip_open_from_source(source, ZIP_CREATE, &error) : nullptr;
    if (!opened) {
      std::string why = target.failure().empty() ? shown + ": " + zip_error_strerror(&error) : target.failure();
      if (source) zip_source_free(source);
      zip_error_fini(&error);
      throw ArchiveError(why);
    }
    zip_error_fini(&error);
    std::unique_ptr<zip_t, Discard> archive_guard(opened);

    for (std::size_t i = 0; i < members.size(); ++i)
      if (!add_member(opened, members[i], failures[i])) throw ArchiveError(shown + ": " + zip_strerror(opened));
    if (zip_close(opened) == 0) {
      archive_guard.release();  // closed: the archive is written and libzip has let it go
      break;
    }
    auto failed = std::find_if(failures.begin(), failures.end(), [](const std::string& f) { return !f.empty(); });
    if (failed == failures.end()) {
      std::string why = target.failure();
      throw ArchiveError(why.empty() ? shown + ": " + zip_strerror(opened) : why);
    }
    problems.push_back(*failed);
    archive_guard.reset();
    members.erase(members.begin() + (failed - failures.begin()));
  }
  return problems;
}

}  // namespace tolvex::zip
