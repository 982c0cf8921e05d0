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

// The generator's writers of one kind's documents.
enum class Kind { adv1, adv2, adv3, adv8, adv10, adv11, szvk, szi3, szi5, ecpd, szv1, szv3, szv41, szv42 };

struct KindInfo {
  Kind kind;
  std::string stem;      // the file-name stem of its packs: the procedure without "load_" ("adv1")
  std::string doc_type;  // DOKT:TYP_DOK, UTF-8 ("АНКТ")
  bool one_document;     // a pack holds a single document of this kind
};

// Every kind of the program's table of document kinds, in its order. A kind the generator has
// no writer for is a std::logic_error: a new kind needs its entry here.
std::span<const KindInfo> all_kinds();
const KindInfo& kind_info(Kind kind);

// How large the documents of a pack are.
struct PackShape {
  Kind kind = Kind::adv1;
  int documents = 1;         // announced in DOKT and written; 1 to 999
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

  void header(std::string& out, const PackShape& shape);
  void document(std::string& out, const PackShape& shape, int number);
  void work_periods(std::string& out, const PackShape& shape, int count, int year, bool szv41);

  std::uint64_t state_;
  int pack_number_ = 0;
};

// UTF-8 text as code page 866 bytes.
std::string to_oem(std::string_view utf8);

}  // namespace tolvex::bench
