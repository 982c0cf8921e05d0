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
    "ending in \"*.*\" stands for every regular file of its folder (no subfolders, no links, no\n"
    "temporary files of the converter or the archiver).\n"
    "Files are stored under their own names; when two share a name, the later one keeps its\n"
    "folder's name before it; a \"\\\" in a name is stored as \"_\". Every file that can be added\n"
    "is; those that cannot are named. A failed run leaves the archive as it was.\n"
    "\n"
    "Exit status: 0 every file was added, 1 some or all were not, 2 a usage error.\n";

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
    std::vector<std::string> left_out =
        tolvex::zip::add_to_archive(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    for (const auto& problem : left_out) std::fprintf(stderr, "tolvex-zip: not archived: %s\n", problem.c_str());
    return left_out.empty() ? kExitOk : kExitFailed;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tolvex-zip: %s\n", e.what());
    return kExitFailed;
  }
}
