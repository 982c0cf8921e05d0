// SPDX-License-Identifier: MIT
#include "zip/archive_members.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "zip/archive_error.h"

namespace fs = std::filesystem;

namespace tolvex::zip {

namespace {

constexpr std::string_view kEveryFile = "*.*";

// The file at `path` as the run will find it, or an error: `follow` takes a link to its file.
Member examine(const fs::path& path, bool follow) {
  struct stat st {};
  if ((follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0)
    throw ArchiveError(system_failure(path.string(), errno));
  if (!S_ISREG(st.st_mode)) throw ArchiveError(path.string() + ": not a regular file");
  Member m;
  m.source = path;
  m.named = follow;
  m.identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  m.size = static_cast<std::uint64_t>(st.st_size);
  m.mtime = static_cast<std::int64_t>(st.st_mtime);
  return m;
}

// Every regular file of a folder, in the order of their names; links, subfolders and temporary
// files are passed by.
std::vector<Member> every_file(const fs::path& folder, std::vector<std::string>& problems) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) throw ArchiveError(system_failure(folder.string(), errno));
  if (!S_ISDIR(st.st_mode)) throw ArchiveError(folder.string() + ": not a folder");
  std::vector<fs::path> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) names.push_back(it->path());
  if (ec) throw ArchiveError(system_failure(folder.string(), ec.value()));
  std::sort(names.begin(), names.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  std::vector<Member> files;
  for (const auto& p : names) {
    if (is_temporary_name(p.filename().string())) continue;
    struct stat entry {};
    if (::lstat(p.c_str(), &entry) != 0) {
      if (errno == ENOENT) continue;  // gone since the folder was listed: it is no longer among its files
      problems.push_back(system_failure(p.string(), errno));
      continue;
    }
    if (!S_ISREG(entry.st_mode)) continue;
    try {
      files.push_back(examine(p, false));
    } catch (const ArchiveError& e) {
      problems.push_back(e.what());
    }
  }
  return files;
}

bool all_of(std::string_view text, std::string_view allowed) {
  return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

}  // namespace

bool is_temporary_name(std::string_view name) {
  if (name == kLockName) return true;
  constexpr std::string_view kTmp = ".tmp";
  if (name.size() < kTmp.size() || name.substr(name.size() - kTmp.size()) != kTmp) return false;
  std::string_view stem = name.substr(0, name.size() - kTmp.size());
  std::size_t dot = stem.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string_view suffix = stem.substr(dot + 1);
  // The converter's: "<PFR name or tolvex.ini>.<8 of a-z 0-9>.tmp".
  if (dot > 0 && suffix.size() == 8 && all_of(suffix, "abcdefghijklmnopqrstuvwxyz0123456789")) return true;
  // The archiver's: ".<archive>.<16 of 0-9 a-f>.tmp".
  return name[0] == '.' && dot > 1 && suffix.size() == 16 && all_of(suffix, "0123456789abcdef");
}

std::vector<Member> plan_members(const std::vector<std::string>& arguments, std::optional<FileIdentity> skip,
                                 std::vector<std::string>& problems) {
  std::vector<Member> members;
  auto take = [&](Member m) {
    if (skip && m.identity == *skip) return;
    for (const auto& earlier : members)
      if (earlier.identity == m.identity) return;
    members.push_back(std::move(m));
  };
  for (const auto& arg : arguments) {
    if (arg.size() >= kEveryFile.size() &&
        arg.compare(arg.size() - kEveryFile.size(), kEveryFile.size(), kEveryFile) == 0) {
      std::string folder = arg.substr(0, arg.size() - kEveryFile.size());
      try {
        for (auto& m : every_file(folder.empty() ? fs::path(".") : fs::path(folder), problems)) take(std::move(m));
      } catch (const ArchiveError& e) {
        problems.push_back(e.what());
      }
    } else {
      try {
        take(examine(arg, true));
      } catch (const ArchiveError& e) {
        problems.push_back(e.what());
      }
    }
  }
  std::vector<fs::path> sources;
  for (const auto& m : members) sources.push_back(m.source);
  std::vector<std::string> names = member_names(sources);
  for (std::size_t i = 0; i < members.size(); ++i) members[i].name = std::move(names[i]);
  return members;
}

std::vector<std::string> member_names(const std::vector<fs::path>& sources) {
  std::set<std::string> taken;
  std::vector<std::string> names;
  for (const auto& source : sources) {
    std::vector<std::string> parts;  // the folder names and the file name, outermost first
    for (const auto& part : fs::absolute(source).lexically_normal().relative_path()) {
      parts.push_back(part.string());
      std::replace(parts.back().begin(), parts.back().end(), '\\', '_');
    }
    std::string name;
    for (std::size_t keep = 1; keep <= parts.size(); ++keep) {
      name = parts.back();
      for (std::size_t i = 1; i < keep; ++i) name = parts[parts.size() - 1 - i] + "/" + name;
      if (!taken.count(name)) break;
    }
    // Only the same path twice can use up every prefix: a number then keeps the names apart.
    const std::string whole = name;
    for (int n = 2; taken.count(name); ++n) name = whole + "~" + std::to_string(n);
    taken.insert(name);
    names.push_back(name);
  }
  return names;
}

}  // namespace tolvex::zip
