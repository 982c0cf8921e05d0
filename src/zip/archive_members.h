// SPDX-License-Identifier: MIT
// The files one run adds to an archive: the names given on the command line, a folder's "*.*"
// expanded to its regular files, and the name each file takes inside the archive.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex::zip {

// Which file a name led to when the run was planned: a file swapped for another (or for a link)
// before it is read is refused rather than archived.
struct FileIdentity {
  std::uint64_t device = 0, inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct Member {
  std::filesystem::path source;
  std::string name;    // inside the archive: "/" between folder names, in the names' own bytes
  bool named = false;  // named on the command line: a link there is taken to its file
  FileIdentity identity;
  std::uint64_t size = 0;
  std::int64_t mtime = 0;  // seconds since 1970
};

// Expands the FILE arguments in order. A FILE ending in "*.*" stands for every regular file of its
// folder, in the order of their names, without going into subfolders or following links, and
// without the converter's temporary files ("<name>.<8 letters or digits>.tmp"), the archiver's
// own (".<archive>.<16 hex digits>.tmp") and its lock file; any other FILE must be a regular file
// (a link to one is taken). A file given twice is added once, and `skip` (the archive itself,
// when it lies in a folder being archived) never. A file or folder that is missing or not what it
// must be is left out and named, with the reason, in `problems`.
std::vector<Member> plan_members(const std::vector<std::string>& arguments, std::optional<FileIdentity> skip,
                                 std::vector<std::string>& problems);

// Whether a file name is one of the temporary files the converter or the archiver make, or the
// archiver's lock file: never archived.
bool is_temporary_name(std::string_view name);

// The name of the lock file in the archive's folder.
inline constexpr const char* kLockName = ".tolvex-zip.lock";

// The names inside the archive of files added together: each file its base name; a later file
// whose name is already taken keeps as many of its folders' names before it as make it unique
// ("Out_7/p.txt" after "In_4/p.txt" has taken "p.txt"). A "\" in a name is stored as "_": some
// extractors take it for a folder separator (and "_" is a character every file system allows).
std::vector<std::string> member_names(const std::vector<std::filesystem::path>& sources);

}  // namespace tolvex::zip
