// SPDX-License-Identifier: MIT
// The temporary files the program has made and not yet put in place. When the program is
// interrupted (SIGINT, SIGTERM or SIGHUP; on Windows Ctrl+C, Ctrl+Break or the console closed)
// they are removed before it ends, so that no unfinished file is left behind.
#pragma once

#include <filesystem>

namespace tolvex::runtime {

// Notes a temporary file; the number returned is given back to forget_temporary. -1 when the
// table is full (the file is then only removed by its owner).
int remember_temporary(const std::filesystem::path& path);

// The file is in place or removed: an interruption leaves it alone from now on.
void forget_temporary(int slot);

}  // namespace tolvex::runtime
