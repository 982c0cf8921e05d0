// SPDX-License-Identifier: MIT
#include "zip/archive_update.h"

#include <fcntl.h>
#include <sys/file.h>
#include <zip.h>

#include <cerrno>
#include <memory>

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

void add_to_archive(const std::string& argument, const std::vector<std::string>& files) {
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
  // run before it left it and no run's files are lost. A file system without locks (some network
  // shares) is written without one rather than not at all.
  while (::flock(dir.get(), LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) break;
    throw ArchiveError(system_failure(folder.string(), errno));
  }

  ArchiveTarget target(dir.get(), name, shown);
  const std::vector<Member> members = plan_members(files, target.existing());
  if (members.empty()) return;

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

  std::string failure;
  for (const auto& m : members)
    if (!add_member(opened, m, failure)) throw ArchiveError(shown + ": " + zip_strerror(opened));
  if (zip_close(opened) != 0) {
    if (failure.empty()) failure = target.failure();
    if (failure.empty()) failure = shown + ": " + zip_strerror(opened);
    throw ArchiveError(failure);
  }
  archive_guard.release();  // closed: the archive is written and libzip has let it go
}

}  // namespace tolvex::zip
