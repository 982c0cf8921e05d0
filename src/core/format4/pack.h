// SPDX-License-Identifier: MIT
// Reading a format-4 pack: the field-splitting rule, the four header records with which every
// pack begins, and the reader that re-opens a pack and reads its document lines.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/format4/record.h"
#include "runtime/file_error.h"
#include "runtime/text_file.h"

namespace tolvex::core {

enum class SplitVariant {
  header,    // a comma inside quotes is dropped
  document,  // a comma inside quotes is kept as a character of the field
};

// Splits one pack line into a record: double quotes toggle quoting and are dropped, a comma
// outside quotes ends a field, every other character goes in order into the current field
// (cut at the field's width); characters past the record's last field are ignored. Every field
// the line may fill is written anew, its characters and then blanks (a field the line does not
// reach is blank), so the record needs no clearing first. Only the first `max_fields` fields are
// filled; the others keep what they hold (the IST4 line fills six of its sixteen).
void split_pack_line(std::string_view line, Record& record, SplitVariant variant,
                     std::size_t max_fields = static_cast<std::size_t>(-1));
// The same over a line as the file holds it, each character stored through `code_page` (the
// byte-by-byte conversion into Windows-1251; quotes, commas and blanks are the same in both).
void split_pack_line(std::string_view line, Record& record, SplitVariant variant, std::size_t max_fields,
                     const std::uint8_t* code_page);

// clang-format off
// The header records, by their line number in the pack.
inline constexpr FieldDef kZag4Fields[] = {
    {"TYP_Z", 4}, {"VER_F", 5}, {"IMJ_PRG", 15}, {"VER_PRG", 6}};
inline constexpr RecordLayout ZAG4{"ZAG4", kZag4Fields};

// Fields 1 to 6 come from the pack; 7 to 16 are completed by the operator.
inline constexpr FieldDef kIst4Fields[] = {
    {"TYP_Z", 4},     {"IST_SVD", 4},   {"REGN", 14},     {"INN", 12},       {"KPP", 9},
    {"NAME", 100},    {"SNAME", 50},    {"OP_FORMA", 40}, {"KOD_OGRN", 15},  {"TIP_OGRN", 5},
    {"LIC_NUM", 20},  {"LIC_DATA", 10}, {"UCH_D_P", 10},  {"UCH_D_SN", 10},  {"PODR_NAME", 100},
    {"PODR_KOD", 6}};
inline constexpr RecordLayout IST4{"IST4", kIst4Fields};
inline constexpr std::size_t kIst4PackFields = 6;

inline constexpr FieldDef kPchFields[] = {
    {"TYP_Z", 4},      {"PCH_N", 5},     {"TYP_PCH", 6},  {"TYP_OPISI", 6}, {"D_OPISI", 10},
    {"KOL_TYP", 1},    {"GOD", 4},       {"KAT_ZL", 4},   {"DOP_T", 4},     {"TER_US", 3},
    {"TYP_SVD", 4},    {"KORR", 4},      {"KW", 1},       {"GOD_P", 4},     {"SUM_ZAR", 15},
    {"SUM_BOLN", 15},  {"SUM_STR", 15},  {"SUM_NAK", 15}, {"SUM_DOP", 15},  {"KOD_SPU", 6},
    {"N_ISH_SPU", 11}};
inline constexpr RecordLayout PCH{"PCH", kPchFields};

inline constexpr FieldDef kDoktFields[] = {{"TYP_Z", 4}, {"TYP_DOK", 4}, {"KOL_DOK", 3}};
inline constexpr RecordLayout DOKT{"DOKT", kDoktFields};
// clang-format on

// The pack header as read from lines 1 to 4; it keeps its values after the pack is closed.
struct PackHeader {
  RecordOf<ZAG4> zag4;
  RecordOf<IST4> ist4;
  RecordOf<PCH> pch;
  RecordOf<DOKT> dokt;

  void clear() {
    zag4.clear();
    ist4.clear();
    pch.clear();
    dokt.clear();
  }
};

// The settings of a pack file: 500-character lines in the DOS code page.
runtime::LineFileSettings pack_file_settings();

// The pack file `IN4`: opened, read forwards line by line.
class PackReader {
 public:
  PackReader() : file_(pack_file_settings()) {}

  runtime::Error open(const std::filesystem::path& path) { return file_.open(path); }
  runtime::Error close() { return file_.close(); }
  // Closes a pack whose reading is over (rejected, converted, given up) where nothing journals
  // the closing: a file only read loses nothing when closing it fails.
  void close_after_reading() { static_cast<void>(file_.close()); }
  bool is_open() const { return file_.is_open(); }
  // Which file is open (unknown when none is).
  const runtime::FileIdentity& identity() const { return file_.opened().identity; }

  // Reads the next line; end_of_file (33) at the end of the pack.
  runtime::Error read_line() { return file_.next(); }
  // The line last read, without trailing blanks, in Windows-1251.
  std::string_view line() const { return file_.text(); }

  // Reads a line and splits it into a record (document variant), every field written anew;
  // the read's code. A plain line is split straight from the file's bytes.
  runtime::Error read_record(Record& record) {
    std::string_view bytes;
    if (file_.next_bytes(bytes)) {
      split_pack_line(bytes, record, SplitVariant::document, static_cast<std::size_t>(-1), file_.code_page());
      return runtime::Error::ok;
    }
    runtime::Error rc = read_line();
    if (rc == runtime::Error::ok) split_pack_line(line(), record, SplitVariant::document);
    return rc;
  }

  // Positions at the first line and passes over the four header lines.
  runtime::Error skip_pack_header();

  runtime::LineReader& file() { return file_; }

 private:
  runtime::LineReader file_;
};

}  // namespace tolvex::core
