// SPDX-License-Identifier: MIT
// One run of the archiver: files added to a zip archive, which is made when missing.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tolvex::zip {

// The archive the ARCHIVE argument names: ".zip" is added when the name has no extension.
std::filesystem::path archive_path(const std::string& argument);

// Adds the files the FILE arguments name (see plan_members) to the archive, making its folder when
// missing; a file of the same name already inside is replaced. Runs on one folder take their turn
// (a lock on the folder), so archivers started at once on one archive each find the files the
// other added. Throws ArchiveError, and the archive is then as it was; with nothing to add,
// nothing is written.
void add_to_archive(const std::string& archive, const std::vector<std::string>& files);

}  // namespace tolvex::zip
