// SPDX-License-Identifier: MIT
// One run of the archiver: files added to a zip archive, which is made when missing.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tolvex::zip {

// The archive the ARCHIVE argument names: ".zip" is added when the name has no extension.
std::filesystem::path archive_path(const std::string& argument);

// Adds the files the FILE arguments name (see plan_members) to the archive, making its folder when
// missing; a file of the same name already inside is replaced. Every file that can be added is: one
// that is missing, is not what it must be or cannot be read (also when it goes or changes while the
// archive is written) is left out and named in the list returned, with the reason. Runs on one
// folder take their turn (a lock file in the folder that only the archiver's user can open), so
// archivers started at once on one archive each find the files the other added; a run waits for
// the lock at most `wait_for_lock`. Throws ArchiveError when the archive cannot be written, and the
// archive is then as it was; with nothing to add, nothing is written.
std::vector<std::string> add_to_archive(const std::string& archive, const std::vector<std::string>& files,
                                        std::chrono::milliseconds wait_for_lock = std::chrono::minutes(2));

}  // namespace tolvex::zip
