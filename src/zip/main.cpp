// SPDX-License-Identifier: MIT
// tolvex-zip: the archiver the converter starts after a conversion on Linux, with the command
// line its default settings build: "-add", the archive, then the files.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "runtime/platform.h"
#include "zip/archive_error.h"
#include "zip/archive_update.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Usage: tolvex-zip -add ARCHIVE FILE...\n"
    "       tolvex-zip --help | --version\n";

constexpr const char* kHelp =
    "Adds files to a zip archive: the archiver the converter starts after a conversion.\n"
    "\n"
    "ARCHIVE gets \".zip\" when its name has no extension; its folder is made when missing; an\n"
    "existing archive is added to, and a file of the same name inside it is replaced. A FILE\n"
    "ending in \"*.*\" stands for every regular file of its folder (no subfolders, no links).\n"
    "Files are stored under their own names; when two share a name, the later one keeps its\n"
    "folder's name before it. A failed run leaves the archive as it was.\n"
    "\n"
    "Exit status: 0 the files were added, 1 they were not, 2 a usage error.\n";

}  // namespace

int main(int argc, char** argv) {
  tolvex::runtime::start_process();
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::printf("%s\n%s", kUsage, kHelp);
    return kExitOk;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::printf("tolvex-zip %s\n", TOLVEX_VERSION);
    return kExitOk;
  }
  if (args.size() < 3 || args[0] != "-add") {
    std::string problem = args.empty()        ? std::string("nothing to do")
                          : args[0] != "-add" ? "unknown command " + args[0]
                                              : std::string("an archive and at least one file are needed");
    std::fprintf(stderr, "tolvex-zip: %s\n%sRun with --help for more information.\n", problem.c_str(), kUsage);
    return kExitUsage;
  }
  try {
    tolvex::zip::add_to_archive(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    return kExitOk;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tolvex-zip: %s\n", e.what());
    return kExitFailed;
  }
}
