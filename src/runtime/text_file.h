// SPDX-License-Identifier: MIT
// Text-line files: the component through which packs are read and the XML file and the journal
// are written. A pack is read strictly forwards, one line into one fixed-width record; the
// output and the journal only ever get lines appended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/codepage_tables.h"
#include "runtime/file_error.h"
#include "runtime/files.h"

namespace tolvex::runtime {

inline constexpr char kCtrlZ = '\x1A';

// The settings of one text-line file, changed through send().
struct LineFileSettings {
  std::size_t record_length = 500;
  std::size_t buffer_size = 512 * 512;  // read-ahead window in bytes (FILEBUFFERS x 512)
  bool quick_scan = true;
  std::string end_of_record = "\r\n";
  bool ctrl_z_is_eof = true;
  bool clip = true;
  int tab = 8;
  bool oem = false;  // the file is in the DOS code page: converted on read and on write
};

// The settings command: "NAME" asks for the current value, "NAME=VALUE" also sets it. The first
// letter selects the setting, then the whole name must match. Returns the current value as text
// ("ON"/"OFF", digits, the buffer size in bytes); an unknown name changes nothing and gives "".
std::string send(LineFileSettings& settings, std::string_view command);

// Reads a text file line by line into a blank-padded record of record_length characters.
class LineReader {
 public:
  explicit LineReader(LineFileSettings settings = {});
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  Error open(const std::filesystem::path& path);
  Error close();
  bool is_open() const { return file_ != nullptr; }
  // The file open (its identity known while it is open).
  const OpenedFile& opened() const { return opened_; }

  // Positions at the first line.
  Error set_to_start();
  // Reads the next line into the record; error 33 at the end of the file.
  Error next();
  // Reads the next line when it is a plain one (its end of record within the record length, no
  // tab and no Ctrl-Z before it): `bytes` are its bytes as the file holds them (in its code page:
  // code_page() converts them), valid until the next read. False, with nothing read, for any
  // other line and at the end of the file: next() reads it then. The record is made from these
  // bytes when it is asked for.
  bool next_bytes(std::string_view& bytes);
  // The conversion of the file's bytes into Windows-1251, byte by byte; none when they are that.
  const std::uint8_t* code_page() const { return settings_.oem ? tables::oem_to_ansi.data() : nullptr; }

  // The whole record, record_length characters, blank padded.
  std::string_view record() const {
    if (unmade_) make_record();
    return record_;
  }
  // The record with its trailing blanks removed.
  std::string_view text() const;

  std::string send(std::string_view command);
  const LineFileSettings& settings() const { return settings_; }

 private:
  bool fill(std::size_t want);  // makes at least `want` bytes from pos_ available, if the file has them
  std::size_t available() const { return window_start_ + window_len_ - pos_; }
  const char* at(std::size_t offset) const { return window_.get() + (offset - window_start_); }
  bool byte_at(std::size_t offset, char& c);
  bool marker_at(std::size_t offset);
  std::size_t wanted_window() const;
  void resize_window();
  // Whether the line at the reading position is a plain one; its length without the marker.
  bool plain_line(std::size_t& length);
  // Passes over the rest of a line longer than the record; false when a read failed.
  bool skip_rest_of_line();
  // The common line, read into the record; false (nothing read) otherwise.
  bool next_plain();
  void make_record() const;
  // Blanks the record from `from` on, as far as earlier lines wrote it.
  void blank_record_from(std::size_t from) const;

  LineFileSettings settings_;
  std::FILE* file_ = nullptr;
  OpenedFile opened_;  // size and identity at the opening
  std::unique_ptr<char[]> window_;
  std::size_t window_size_ = 0;
  std::size_t window_start_ = 0;  // file offset of window_[0]
  std::size_t window_len_ = 0;
  std::size_t pos_ = 0;        // file offset of the next line
  bool at_eof_ = false;        // the file has no bytes past the window
  bool failed_ = false;        // a read failed
  bool skip_pending_ = false;  // the line last read was longer than the record: its rest is unread
  // The record is made when it is asked for after next_bytes(): it is kept in mutable members.
  mutable std::string record_;
  mutable std::size_t used_ = 0;     // the record's characters from the line; the rest are blank padding
  mutable std::size_t dirty_ = 0;    // the record is blank from here on
  mutable std::string_view unread_;  // the bytes of a line read by next_bytes, not yet in the record
  mutable bool unmade_ = false;
};

// Appends lines to a text file. Lines are written without trailing blanks (clip) and end with
// the end-of-record marker.
class LineWriter {
 public:
  explicit LineWriter(LineFileSettings settings = {});
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Opens an existing regular file for appending, never through a link (at its name or at its
  // folder's); error 2 when it does not exist. With `exclusive` no other process may hold the file open at the same
  // time (error 32 while one does).
  Error open(const std::filesystem::path& path, bool exclusive);
  // Writes into a stream opened elsewhere (a staged file): close() then writes out what is
  // pending and leaves the stream open.
  void attach(std::FILE* stream, const std::filesystem::path& path);
  // Creates a new empty file without opening it; fails when anything is at the name already or
  // the folder is a link.
  static Error create(const std::filesystem::path& path);
  // Empties the open file.
  Error empty();
  // Appends one line.
  Error add(std::string_view line);
  Error flush();
  // Closing a file that is not open succeeds. Gives the first failed write since opening.
  Error close();
  bool is_open() const { return file_ != nullptr; }

  // Write every line through to the file at once (the journal), rather than in blocks.
  void set_flush_each_line(bool on) { flush_each_line_ = on; }
  std::string send(std::string_view command);
  const std::filesystem::path& path() const { return path_; }

 private:
  void adopt(std::FILE* file, const std::filesystem::path& path, bool owned);

  LineFileSettings settings_;
  std::FILE* file_ = nullptr;
  bool owned_ = true;
  std::filesystem::path path_;
  std::string pending_;
  bool first_write_ = true;
  bool flush_each_line_ = false;
  Error error_ = Error::ok;  // a failed block write, reported by the next add, flush or close
};

}  // namespace tolvex::runtime
