// SPDX-License-Identifier: MIT
// A generator of large, realistic format-4 packs for measuring the converters: every document
// kind with its own lines (month lines, work periods, additional lines, work records, benefits,
// special-service lines), plausible names, addresses, insurance numbers, amounts and dates.
// The packs are written in code page 866 with CR LF line ends, as the offices receive them, and
// the same seed always gives the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace tolvex::bench {

// A kind of the program's table of document kinds (app/document_kinds.cpp) as the generator
// writes it. Kinds are named by their procedure in that table ("load_adv1").
struct KindInfo {
  std::string_view procedure;  // the kind's procedure in the table: the name of the kind here
  std::string stem;            // the file-name stem of its packs: the procedure without "load_" ("adv1")
  std::string doc_type;        // DOKT:TYP_DOK, UTF-8 ("АНКТ")
  bool one_document;           // a pack holds a single document of this kind
};

// Every kind of the program's table of document kinds, in its order. A kind the generator has
// no writer for is a std::logic_error: a new kind needs its writer in pack_generator.cpp.
std::span<const KindInfo> all_kinds();
// The kind with this procedure; a std::logic_error when the table has none.
const KindInfo& kind_info(std::string_view procedure);

// How large the documents of a pack are.
struct PackShape {
  std::string_view kind = "load_adv1";  // the kind's procedure in the table of document kinds
  int documents = 1;                    // announced in DOKT and written; 1 to 999
  int max_periods = 4;       // work periods per person (СЗВ-1, СЗВ-3, СЗВ-4-1, СЗВ-К), at most 99
  int max_additional = 2;    // additional or benefit lines per period, at most 99
  int max_work_records = 4;  // work records per person (СЗВ-К)
  bool exact = false;        // every person gets exactly the maximum counts
};

class PackGenerator {
 public:
  explicit PackGenerator(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}

  // Writes one pack; the number of bytes written.
  std::uintmax_t write_pack(const std::filesystem::path& path, const PackShape& shape);

  // A number in [lo, hi], from the generator's own sequence (the same on every platform).
  int between(int lo, int hi);

 private:
  std::uint64_t next();
  std::string_view pick(std::span<const std::string_view> items);

  std::string date_in(int year);
  std::string insurance_number();
  std::string amount(int lo, int hi);
  std::string phone();
  std::string address();
  std::string foreign_address();
  struct Person {
    std::string surname, name, patronymic, sex, birth;
  };
  Person person();
  std::string passport_fields(int year);

  // The writer of one kind's packs, keyed by the kind's procedure in the table of document kinds:
  // the end of its ПАЧК line and its documents, each document ending its own lines.
  using DocumentWriter = void (PackGenerator::*)(std::string& out, const PackShape& shape, const std::string& number,
                                                 const Person& p);
  struct KindWriter {
    std::string_view procedure;
    bool one_document;      // a pack holds a single document
    bool personnel;         // the documents of a personnel program (АДВ-1 to АДВ-8)
    std::string_view pack;  // the ПАЧК line after ОПИСЬ; empty: a date of 2011 and ",1"
    DocumentWriter document;
  };
  static std::span<const KindWriter> writers();
  static const KindWriter& writer(std::string_view procedure);
  friend std::span<const KindInfo> all_kinds();

  void header(std::string& out, const PackShape& shape, const KindWriter& writer);
  void document(std::string& out, const PackShape& shape, const KindWriter& writer, int number);
  void work_periods(std::string& out, const PackShape& shape, int count, int year, bool szv41);

  void adv1(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void adv2(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void adv3(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void adv8(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void adv10(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void adv11(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void szvk(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void szi3(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void szi5(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void ecpd(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void szv1(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void szv3(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void old_records(std::string& out, const PackShape& shape, const std::string& number, const Person& p, bool szv1);
  void szv41(std::string& out, const PackShape& shape, const std::string& number, const Person& p);
  void szv42(std::string& out, const PackShape& shape, const std::string& number, const Person& p);

  std::uint64_t state_;
  int pack_number_ = 0;
};

// UTF-8 text as code page 866 bytes.
std::string to_oem(std::string_view utf8);

}  // namespace tolvex::bench
