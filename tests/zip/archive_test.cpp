// SPDX-License-Identifier: MIT
// The companion archiver: new archives, adding to one, "*.*" folders, names that meet, and the
// runs that must fail and leave the archive as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>
#include <zip.h>

#include <map>
#include <thread>

#include "temp_folder.h"
#include "zip/archive_error.h"
#include "zip/archive_members.h"
#include "zip/archive_update.h"

namespace fs = std::filesystem;
using namespace tolvex::zip;

namespace {

using Contents = std::map<std::string, std::string>;

// Every member of an archive with its data; names as the archive's UTF-8 mark has them read (a
// name without the mark would come back as code page 437).
Contents contents(const fs::path& archive) {
  int err = 0;
  zip_t* za = zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
  EXPECT_NE(za, nullptr) << archive << ": libzip error " << err;
  Contents out;
  if (!za) return out;
  for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
    zip_stat_t st;
    zip_stat_index(za, i, 0, &st);
    std::string data(st.size, '\0');
    zip_file_t* f = zip_fopen_index(za, i, 0);
    EXPECT_EQ(zip_fread(f, data.data(), st.size), static_cast<zip_int64_t>(st.size));
    zip_fclose(f);
    out[zip_get_name(za, i, ZIP_FL_ENC_STRICT)] = data;
  }
  zip_close(za);
  return out;
}

class Archiver : public tolvex::fakes::TempFolder {
 protected:
  std::string at(const std::string& relative) { return (dir / relative).string(); }
  // Temporary files left in a folder.
  std::vector<std::string> temporaries(const fs::path& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder))
      if (e.path().extension() == ".tmp") out.push_back(e.path().filename().string());
    return out;
  }
};

}  // namespace

TEST(MemberNames, LaterFilesKeepTheirFoldersWhenNamesMeet) {
  struct Case {
    const char* what;
    std::vector<fs::path> sources;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"base names", {"/p/In_4/a.txt", "/p/Out_7/B.XML"}, {"a.txt", "B.XML"}},
      {"the later keeps its folder", {"/p/In_4/a.txt", "/p/Out_7/a.txt"}, {"a.txt", "Out_7/a.txt"}},
      {"and more folders while needed", {"/a/In/x", "/b/In/x", "/c/In/x"}, {"x", "In/x", "c/In/x"}},
      {"the same path twice", {"/p/x", "/p/x"}, {"x", "p/x"}},
  };
  for (const auto& c : cases) EXPECT_EQ(member_names(c.sources), c.names) << c.what;
}

TEST_F(Archiver, MakesTheArchiveAndItsFolder) {
  write("in/a.txt", "A");
  write("in/пачка.txt", "П");
  add_to_archive(at("Arh/2024/250101_1200"), {at("in/a.txt"), at("in/пачка.txt")});
  fs::path archive = dir / "Arh/2024/250101_1200.zip";
  EXPECT_EQ(contents(archive), (Contents{{"a.txt", "A"}, {"пачка.txt", "П"}}));
  EXPECT_TRUE(temporaries(archive.parent_path()).empty());
  // A name that has an extension keeps it.
  add_to_archive(at("Arh/arhiv.old"), {at("in/a.txt")});
  EXPECT_TRUE(fs::is_regular_file(dir / "Arh/arhiv.old"));
}

TEST_F(Archiver, AddsToAnArchiveAndReplacesAFileOfTheSameName) {
  write("in/a.txt", "first");
  add_to_archive(at("Arh/x"), {at("in/a.txt")});
  write("in/a.txt", "second");
  write("in/b.txt", "B");
  add_to_archive(at("Arh/x.zip"), {at("in/a.txt"), at("in/b.txt")});
  EXPECT_EQ(contents(dir / "Arh/x.zip"), (Contents{{"a.txt", "second"}, {"b.txt", "B"}}));
}

TEST_F(Archiver, EveryFileOfTwoFolders) {
  // A batch's archive: both folders' regular files, neither subfolders nor links, and a name
  // met twice kept apart by its folder.
  write("In_4/p1.txt", "1");
  write("In_4/same.txt", "in");
  write("In_4/sub/deep.txt", "no");
  write("Out_7/P1.XML", "x");
  write("Out_7/same.txt", "out");
  fs::create_symlink(dir / "In_4/p1.txt", dir / "Out_7/link.txt");
  add_to_archive(at("Arh/b"), {at("In_4/*.*"), at("Out_7/*.*")});
  EXPECT_EQ(contents(dir / "Arh/b.zip"),
            (Contents{{"p1.txt", "1"}, {"same.txt", "in"}, {"P1.XML", "x"}, {"Out_7/same.txt", "out"}}));
  // An archive inside a folder being archived is not put into itself; a file given twice counts once.
  add_to_archive(at("Out_7/self"), {at("Out_7/P1.XML")});
  add_to_archive(at("Out_7/self"), {at("Out_7/*.*"), at("Out_7/P1.XML")});
  EXPECT_EQ(contents(dir / "Out_7/self.zip"), (Contents{{"P1.XML", "x"}, {"same.txt", "out"}}));
}

TEST_F(Archiver, RunsAtOnceOnOneArchiveLoseNothing) {
  std::vector<std::thread> runs;
  Contents expected;
  for (int i = 0; i < 8; ++i) {
    std::string name = "f" + std::to_string(i);
    expected[name] = name;
    runs.emplace_back([this, p = write("in/" + name, name)] { add_to_archive(at("Arh/one"), {p.string()}); });
  }
  for (auto& t : runs) t.join();
  EXPECT_EQ(contents(dir / "Arh/one.zip"), expected);
}

// Every file that can be added is; each one that cannot is named with the reason. Temporary
// files of the converter and the archiver are never archived; a "\\" in a name becomes "_".
TEST_F(Archiver, EveryFileThatCanBeAddedIsAndTheOthersAreNamed) {
  write("in/a.txt", "A");
  write("in/b\\c.txt", "B");
  write("in/keep.tmp", "K");
  for (const char* temporary : {"in/PFR-1.XML.ab12cd34.tmp", "in/tolvex.ini.0a1b2c3d.tmp",
                                "in/.x.zip.0123456789abcdef.tmp", "in/.tolvex-zip.lock"})
    write(temporary, "half");
  fs::create_directories(dir / "in/sub");
  std::vector<std::pair<std::string, std::string>> left_out = {{at("in/none.txt"), "none.txt: No such file"},
                                                               {at("gone/*.*"), "gone/: No such file"},
                                                               {at("in/sub"), "sub: not a regular file"}};
  Contents expected = {{"a.txt", "A"}, {"b_c.txt", "B"}, {"keep.tmp", "K"}};
  if (::geteuid() != 0) {  // read when the archive is written: left out then, the rest written again
    write("in/z-unreadable.txt", "Z");
    fs::permissions(dir / "in/z-unreadable.txt", fs::perms::none);
    left_out.push_back({"", "z-unreadable.txt: Permission denied"});
  }
  std::vector<std::string> files = {at("in/*.*")};
  for (const auto& [file, message] : left_out)
    if (!file.empty()) files.push_back(file);
  std::vector<std::string> problems = add_to_archive(at("Arh/x"), files);
  EXPECT_EQ(contents(dir / "Arh/x.zip"), expected);
  ASSERT_EQ(problems.size(), left_out.size());
  for (std::size_t i = 0; i < problems.size(); ++i)
    EXPECT_NE(problems[i].find(left_out[i].second), std::string::npos) << problems[i];
  EXPECT_TRUE(temporaries(dir / "Arh").empty());
}

// The folder's lock is a file only the archiver's user can open; a run waits for it a while, not
// for ever.
TEST_F(Archiver, TheLockIsTheUsersOwnAndNeverWaitedForWithoutEnd) {
  write("in/a.txt", "A");
  add_to_archive(at("Arh/x"), {at("in/a.txt")});
  EXPECT_EQ(fs::status(dir / "Arh/.tolvex-zip.lock").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  int held = ::open((dir / "Arh/.tolvex-zip.lock").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  try {
    add_to_archive(at("Arh/x"), {at("in/a.txt")}, std::chrono::milliseconds(100));
    ADD_FAILURE() << "no error";
  } catch (const ArchiveError& e) {
    EXPECT_NE(std::string(e.what()).find("held the folder too long"), std::string::npos) << e.what();
  }
  ::close(held);
}

TEST_F(Archiver, AFailedRunLeavesTheArchiveAsItWas) {
  write("in/a.txt", "A");
  write("plain", "a regular file where a folder would be");
  write("Arh/bad.zip", "not an archive");
  fs::create_directories(dir / "ro");
  fs::create_symlink(dir / "in/a.txt", dir / "Arh/link.zip");
  add_to_archive(at("Arh/x"), {at("in/a.txt")});
  const std::string before = read(dir / "Arh/x.zip");
  struct Case {
    const char* what;
    std::string archive;
    std::vector<std::string> files;
    std::string message;  // a part of the error's text
  };
  std::vector<Case> cases = {
      {"a folder that cannot be made", at("plain/Arh/x"), {at("in/a.txt")}, "cannot make the folder"},
      {"a link at the archive's name", at("Arh/link.zip"), {at("in/a.txt")}, "a link stands"},
      {"a damaged archive", at("Arh/bad"), {at("in/a.txt")}, "Not a zip archive"},
      {"a folder named as the archive's folder", at("plain/x"), {at("in/a.txt")}, "cannot make the folder"},
  };
  if (::geteuid() != 0) {  // the superuser writes into any folder
    fs::copy_file(dir / "Arh/x.zip", dir / "ro/x.zip");
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    cases.push_back({"a folder that cannot be written", at("ro/x"), {at("in/a.txt")}, "Permission denied"});
  }
  for (const auto& c : cases) {
    try {
      add_to_archive(c.archive, c.files);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const ArchiveError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
    }
  }
  EXPECT_EQ(read(dir / "Arh/x.zip"), before);
  EXPECT_EQ(read(dir / "Arh/bad.zip"), "not an archive");
  EXPECT_TRUE(fs::is_symlink(dir / "Arh/link.zip"));
  EXPECT_TRUE(temporaries(dir / "Arh").empty());
  if (::geteuid() != 0) {
    EXPECT_EQ(read(dir / "ro/x.zip"), before);
    fs::permissions(dir / "ro", fs::perms::owner_all);
  }
}
