// The ways the converter opens, creates, syncs and replaces files, made safe against a folder
// that somebody else can write to: a pack is read only when it is a regular file, and never
// waited on; a file the program writes is never reached through a link; a new file is always
// created new. Every function gives a runtime error code (0 on success).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tolvex::runtime {

// Opens an existing file for reading. A link named by the operator is followed, but what it
// names must be a regular file: a pipe, a device or a socket is refused with error 120 before
// a byte is read, without waiting for a writer; a directory gives error 5. `size`, when given,
// gets the file's size at the opening.
int open_for_reading(const std::filesystem::path& path, std::FILE*& file, std::uint64_t* size = nullptr);

// Opens an existing regular file for reading and writing (the journal). A link at the name is
// not followed. With `exclusive` no other process may hold the file open for writing at the
// same time: error 32 while one does.
int open_for_update(const std::filesystem::path& path, bool exclusive, std::FILE*& file);

// Creates a new empty file for reading and writing. Whatever is at the name already, a file
// or a link, is left alone: the call fails (error 5) and `existed` is set.
int create_new_file(const std::filesystem::path& path, std::FILE*& file, bool* existed = nullptr);

// Writes the stream's buffered bytes and waits until the file's bytes are on the disk.
int sync_file(std::FILE* file);

// Waits until the entries of a folder (a name just renamed into it) are on the disk.
int sync_folder(const std::filesystem::path& folder);

// Gives the file `from` the name `to`, replacing whatever has that name (a link there is
// replaced, never followed); written through to the disk on Windows.
int replace_file(const std::filesystem::path& from, const std::filesystem::path& to);

// True when the directory entry `entry` (a link there not followed) is the file `existing`
// names: the same device and inode, or volume and file index on Windows.
bool same_file(const std::filesystem::path& existing, const std::filesystem::path& entry);

// Reads a whole regular file of at most `max_size` bytes. A larger one is not read: error 8
// (not enough memory) with `too_large` set.
int read_small_file(const std::filesystem::path& path, std::size_t max_size, std::string& bytes, bool& too_large);

}  // namespace tolvex::runtime
