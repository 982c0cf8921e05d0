// SPDX-License-Identifier: MIT
// The ways the converter opens, creates, syncs and replaces files, made safe against a folder
// that somebody else can write to: a pack is read only when it is a regular file, and never
// waited on; a file the program writes is never reached through a link; a new file is always
// created new. Every function gives a runtime code (ok on success).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "runtime/file_error.h"

namespace tolvex::runtime {

// Which file a name leads to: device and inode (volume and file index on Windows).
struct FileIdentity {
  bool known = false;  // something was there
  std::uint64_t device = 0, file = 0;
  bool operator==(const FileIdentity&) const = default;
};

// What opening a file for reading learnt of it.
struct OpenedFile {
  std::uint64_t size = 0;
  FileIdentity identity;
};

// Opens an existing file for reading. A link named by the operator is followed, but what it
// names must be a regular file: a pipe, a device or a socket is refused with error 120 before
// a byte is read, without waiting for a writer; a directory gives error 5. `facts`, when given,
// gets the size and the identity of the file opened.
Error open_for_reading(const std::filesystem::path& path, std::FILE*& file, OpenedFile* facts = nullptr);

// What is at the directory entry `entry` (a link there is not followed: its own identity);
// unknown when nothing is there.
FileIdentity identity_at(const std::filesystem::path& entry);

// One read of up to `size` bytes from a regular file opened for reading (unbuffered): the bytes
// read, fewer only at the end of the file; `failed` is set when the read failed.
std::size_t read_some(std::FILE* file, char* to, std::size_t size, bool& failed);

// Opens an existing regular file for reading and writing (the journal). It is opened through
// its folder: a link neither at the name nor at the folder's own name is followed (error 5). With `exclusive` no other
// process may hold the file open for writing at the same time: error 32 while one does.
Error open_for_update(const std::filesystem::path& path, bool exclusive, std::FILE*& file);

// Creates a new empty file for reading and writing. Whatever is at the name already, a file
// or a link, is left alone: the call fails (error 5) and `existed` is set. With
// `folder_link_refused` the file is made through its folder, which must not be a link (error 5).
Error create_new_file(const std::filesystem::path& path, std::FILE*& file, bool* existed = nullptr,
                      bool folder_link_refused = false);

// Writes the stream's buffered bytes and waits until the file's bytes are on the disk.
Error sync_file(std::FILE* file);

// Waits until the entries of a folder (a name just renamed into it) are on the disk.
Error sync_folder(const std::filesystem::path& folder);

// Gives the file `from` the name `to`, replacing whatever has that name (a link there is
// replaced, never followed); written through to the disk on Windows.
Error replace_file(const std::filesystem::path& from, const std::filesystem::path& to);

// Reads a whole regular file of at most `max_size` bytes. A larger one is not read: error 8
// (not enough memory) with `too_large` set.
Error read_small_file(const std::filesystem::path& path, std::size_t max_size, std::string& bytes, bool& too_large);

}  // namespace tolvex::runtime
