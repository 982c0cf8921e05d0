// SPDX-License-Identifier: MIT
// What the individual-record converters share: the month table and the period list of one
// person (rebuilt for every document, their buffers kept between documents), and the window's
// amount display.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "blocks/work_period_blocks.h"
#include "core/conversion/operator.h"
#include "core/format4/pack.h"
#include "core/format4/record.h"
#include "core/format7/xml_writer.h"
#include "earnings/earnings_records.h"

namespace tolvex::earnings {

// The monthly accruals of one person: each month line whole, its month number rewritten in two
// digits; completed to the twelve months and ordered by month before it is written.
class MonthTable {
 public:
  void clear();
  // Reads the next pack line as a month line; the read's code (end_of_file at the end of the pack).
  runtime::Error read_month(core::PackReader& pack);
  // Adds an empty entry (only the month) for every month 1 to 12 that has none, then orders the
  // entries by month; entries of the same month keep their reading order.
  void complete();

  std::size_t size() const { return order_.size(); }
  // The entry at a position of the ordered table.
  const core::RecordOf<NCHM>& at(std::size_t position) const { return entries_[order_[position]]; }

 private:
  core::RecordOf<NCHM>& next_entry();
  std::vector<core::RecordOf<NCHM>> entries_;  // buffers reused between documents
  std::vector<long long> months_;              // the month of each used entry
  std::vector<std::size_t> order_;             // the used entries, ordered by month
};

// How an additional line gets the number of its period.
enum class PeriodNumbering {
  as_written,     // the period line's N_PERIOD as it stands
  plain_decimal,  // N_PERIOD taken as a number, in plain decimal digits ("01" gives "1")
};

// The work periods of one person: one entry per period line and one per additional line, in
// reading order. Lookups go by the numeric value of the running numbers, so "1", " 1" and "01"
// all find period 1; the first matching entry wins. The numbers are fields of two digits, so a
// lookup is one step in a table by number, made as the lines are read. The list is where the
// work-period tree finds its periods.
class PeriodList : public blocks::WorkPeriodSource {
 public:
  struct Entry {
    bool additional = false;
    core::RecordOf<STG1_LINE> period;  // a period line, as read
    core::RecordOf<LGT1> line;         // an additional line
    std::string period_number;         // an additional line's period number
    long long number = 0;              // the period's number, taken as a number
    long long line_number = 0;         // an additional line's N_LGT, taken as a number
  };

  explicit PeriodList(PeriodNumbering numbering);

  // Empties the list for the next person (its buffers and tables are kept).
  void clear();
  // Reads one period line and, when its KOL_LGOT is not blank, that many additional lines; the
  // code of the first read that failed, ok when all were read.
  runtime::Error read_period(core::PackReader& pack);

  // Period i (its own entry), or nothing when no period line has that number.
  const Entry* period(long long i) const;
  // Additional line j of period i, or nothing.
  const Entry* additional(long long i, long long j) const;

  std::size_t size() const { return used_; }
  const Entry& operator[](std::size_t k) const { return entries_[k]; }

  std::optional<blocks::WorkPeriod> find_period(long long number) const override;
  std::optional<blocks::AccountingFeatures> find_additional(long long number, long long line) const override;

 private:
  // Every number a two-digit field can hold.
  static constexpr long long kNumbers = 100;
  // A table slot: the entry it names counts only when it was filled for the current person.
  struct Slot {
    std::uint32_t person = 0;
    std::uint32_t entry = 0;
  };
  Entry& next_entry();
  // Notes the entry just read under its number, unless an earlier one has that number.
  void note(Slot& slot);
  const Entry* found(const Slot& slot) const;

  PeriodNumbering numbering_;
  std::vector<Entry> entries_;  // buffers reused between documents
  std::size_t used_ = 0;
  std::uint32_t person_ = 1;      // the current person; slots of earlier ones are stale
  std::vector<Slot> periods_;     // by period number
  std::vector<Slot> additional_;  // by period number * kNumbers + line number
};

// An amount as the converter window shows it: two decimals, blank when zero; a value that is
// not a number is shown as it stands.
std::string shown_amount(std::string_view amount);

// The rows of the window's period list, with the columns of the old-record forms (beside their
// month table) and of СЗВ-4-1.
core::ViewList old_records_period_list(const PeriodList& periods);
core::ViewList szv4_period_list(const PeriodList& periods);
// The rows of the window's month table.
core::ViewList month_list(const MonthTable& months);

}  // namespace tolvex::earnings
