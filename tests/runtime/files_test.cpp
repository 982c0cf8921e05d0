// SPDX-License-Identifier: MIT
// Files written beside their final name and put in place whole; nothing a stranger left in a
// folder is followed, truncated or removed.
#include "runtime/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "runtime/file_error.h"
#include "runtime/staged_file.h"
#include "temp_folder.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

namespace fs = std::filesystem;
using namespace tolvex::runtime;

namespace {

class StagedFileTest : public tolvex::fakes::TempFolder {};

}  // namespace

#ifndef _WIN32
// Temporary files nobody alive owns (left by SIGKILL) are removed; one a live writer owns, one of
// another name and a link are not.
TEST_F(StagedFileTest, OnlyAbandonedTemporaryFilesAreRemoved) {
  StagedFile live;
  ASSERT_EQ(live.create(dir / "PFR-1.XML"), Error::ok);
  StagedFile waiting;  // finished, waiting for its name: still owned
  ASSERT_EQ(waiting.create(dir / "PFR-2.XML"), Error::ok);
  ASSERT_EQ(waiting.finish(), Error::ok);
  for (const char* name : {"PFR-3.XML.ab12cd34.tmp", "tolvex.ini.0a1b2c3d.tmp", "notes.ab12cd34.tmp", "PFR-4.XML.tmp"})
    write(name, "left");
  fs::create_symlink(dir / "notes.ab12cd34.tmp", dir / "PFR-5.XML.zz12cd34.tmp");
  EXPECT_EQ(remove_abandoned_temporaries(dir, "PFR-", ".XML"), 1);
  EXPECT_EQ(remove_abandoned_temporaries(dir, "tolvex.ini", ""), 1);
  std::set<std::string> left;
  for (const auto& e : fs::directory_iterator(dir)) left.insert(e.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{live.temporary_name().filename().string(),
                                         waiting.temporary_name().filename().string(), "notes.ab12cd34.tmp",
                                         "PFR-4.XML.tmp", "PFR-5.XML.zz12cd34.tmp"}));
  EXPECT_EQ(waiting.publish(), Error::ok);
}
#endif

TEST_F(StagedFileTest, WhatIsAtANameIsNeverFollowedTruncatedOrRemoved) {
  write(dir / "victim", "the victim's bytes");
  struct Case {
    const char* what;
    void (*plant)(const fs::path& at, const fs::path& victim);
  };
  const Case cases[] = {
      {"a file", [](const fs::path& at, const fs::path&) { std::ofstream(at, std::ios::binary) << "somebody's"; }},
#ifndef _WIN32
      {"a link to a file", [](const fs::path& at, const fs::path& victim) { fs::create_symlink(victim, at); }},
      {"a dangling link", [](const fs::path& at, const fs::path&) { fs::create_symlink("nowhere", at); }},
#endif
  };
  for (const auto& c : cases) {
    fs::path at = dir / "planted";
    fs::remove(at);
    c.plant(at, dir / "victim");
    auto before = fs::symlink_status(at).type();
    std::FILE* f = nullptr;
    bool existed = false;
    EXPECT_NE(create_new_file(at, f, &existed), Error::ok) << c.what;
    EXPECT_TRUE(existed) << c.what;
    EXPECT_EQ(fs::symlink_status(at).type(), before) << c.what;
    EXPECT_EQ(read(dir / "victim"), "the victim's bytes") << c.what;
  }
#ifndef _WIN32
  // The journal is opened only as itself: a link at its name is refused.
  std::FILE* f = nullptr;
  EXPECT_NE(open_for_update(dir / "planted", false, f), Error::ok);
  fs::remove(dir / "planted");
  fs::create_symlink(dir / "victim", dir / "planted");
  EXPECT_NE(open_for_update(dir / "planted", false, f), Error::ok);
  EXPECT_EQ(read(dir / "victim"), "the victim's bytes");
  // The final name is replaced by the whole file: a link there is replaced, not written through.
  StagedFile s;
  ASSERT_EQ(s.create(dir / "planted"), Error::ok);
  ASSERT_EQ(s.write("new"), Error::ok);
  ASSERT_EQ(s.commit(), Error::ok);
  EXPECT_EQ(fs::symlink_status(dir / "planted").type(), fs::file_type::regular);
  EXPECT_EQ(read(dir / "planted"), "new");
  EXPECT_EQ(read(dir / "victim"), "the victim's bytes");
#endif
}

TEST_F(StagedFileTest, TwoWritersOfOneNameEachKeepTheirOwnFile) {
  fs::path final_name = dir / "PFR.XML";
  write(final_name, "earlier");
  StagedFile a, b;
  ASSERT_EQ(a.create(final_name), Error::ok);
  ASSERT_EQ(b.create(final_name), Error::ok);
  EXPECT_NE(a.temporary_name(), b.temporary_name());
  EXPECT_EQ(a.temporary_name().parent_path(), dir);
  ASSERT_EQ(a.write("first"), Error::ok);
  ASSERT_EQ(b.write("second"), Error::ok);
  EXPECT_EQ(read(final_name), "earlier");  // nothing under the final name before the commit
  EXPECT_EQ(a.commit(), Error::ok);
  EXPECT_EQ(read(final_name), "first");
  EXPECT_EQ(b.commit(), Error::ok);
  EXPECT_EQ(read(final_name), "second");
  StagedFile given_up, finished;
  ASSERT_EQ(given_up.create(final_name), Error::ok);
  ASSERT_EQ(given_up.write("half"), Error::ok);
  given_up.discard();
  // A file finished and waiting for its turn is given up as well, without taking the name.
  ASSERT_EQ(finished.create(final_name), Error::ok);
  ASSERT_EQ(finished.write("whole, never named"), Error::ok);
  ASSERT_EQ(finished.finish(), Error::ok);
  finished.discard();
  EXPECT_EQ(names(), "PFR.XML");
  EXPECT_EQ(read(final_name), "second");
}

#ifndef _WIN32
TEST_F(StagedFileTest, AnInterruptionRemovesTheUnfinishedFileAndKeepsTheFinishedOne) {
  for (int sig : {SIGINT, SIGTERM}) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      StagedFile done, unfinished, waiting;
      if (done.create(dir / "done.XML") != Error::ok || done.write("whole") != Error::ok || done.commit() != Error::ok)
        ::_exit(10);
      if (unfinished.create(dir / "big.XML") != Error::ok || unfinished.write("half") != Error::ok) ::_exit(11);
      // Finished, waiting for its turn to take its name.
      if (waiting.create(dir / "next.XML") != Error::ok || waiting.write("whole") != Error::ok ||
          waiting.finish() != Error::ok)
        ::_exit(13);
      std::raise(sig);
      ::_exit(12);  // not reached: the signal ends the program
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << sig << ", exit " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), sig);
    EXPECT_EQ(names(), "done.XML") << "signal " << sig;
  }
}
#endif
