// What the individual-record converters share: the month table and the period list of one
// person (rebuilt for every document, their buffers kept between documents), the ОсобенностиУчета
// block of one period or additional line, and the window's amount display.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/operator.h"
#include "core/pack.h"
#include "core/record.h"
#include "core/xml_writer.h"
#include "earnings/earnings_records.h"

namespace tolvex::earnings {

// Copies the fields of one record into another by field name: a line read in its pack order
// becomes a record in record order. Fields the target lacks are dropped, fields the source
// lacks stay blank.
class FieldMap {
 public:
  FieldMap(const core::RecordLayout& from, const core::RecordLayout& to);
  void copy(const core::Record& from, core::Record& to) const;

 private:
  std::vector<std::size_t> source_of_;  // per target field, the source field or npos
};

// The monthly accruals of one person: each month line whole, its month number rewritten in two
// digits; completed to the twelve months and ordered by month before it is written.
class MonthTable {
 public:
  void clear();
  // Reads the next pack line as a month line; the read's code (0, 33 at the end of the pack).
  int read_month(core::PackReader& pack);
  // Adds an empty entry (only the month) for every month 1 to 12 that has none, then orders the
  // entries by month; entries of the same month keep their reading order.
  void complete();

  std::size_t size() const { return order_.size(); }
  // The entry at a position of the ordered table.
  const core::Record& at(std::size_t position) const { return entries_[order_[position]]; }

 private:
  core::Record& next_entry();
  std::vector<core::Record> entries_;  // buffers reused between documents
  std::vector<long long> months_;      // the month of each used entry
  std::vector<std::size_t> order_;     // the used entries, ordered by month
};

// How an additional line gets the number of its period.
enum class PeriodNumbering {
  as_written,     // the period line's N_PERIOD as it stands
  plain_decimal,  // N_PERIOD taken as a number, in plain decimal digits ("01" gives "1")
};

// The work periods of one person: one entry per period line and one per additional line, in
// reading order. Lookups go by the numeric value of the running numbers, so "1", " 1" and "01"
// all find period 1; the first matching entry wins.
class PeriodList {
 public:
  struct Entry {
    bool additional = false;
    core::Record period{STG1};  // a period line, in record order
    core::Record line{LGT1};  // an additional line
    std::string period_number;           // an additional line's period number
    long long number = 0;                // the period's number, taken as a number
    long long line_number = 0;           // an additional line's N_LGT, taken as a number
    // The record whose features the entry carries.
    const core::Record& features() const { return additional ? line : period; }
  };

  explicit PeriodList(PeriodNumbering numbering) : numbering_(numbering) {}

  void clear() {
    used_ = 0;
    indexed_ = false;
  }
  // Reads one period line and, when its KOL_LGOT is not blank, that many additional lines; the
  // code of the first read that failed, 0 when all were read.
  int read_period(core::PackReader& pack);

  // Period i (its own entry), or nothing when no period line has that number.
  const Entry* period(long long i) const;
  // Additional line j of period i, or nothing.
  const Entry* additional(long long i, long long j) const;

  std::size_t size() const { return used_; }
  const Entry& operator[](std::size_t k) const { return entries_[k]; }

 private:
  Entry& next_entry();
  void build_index() const;
  PeriodNumbering numbering_;
  std::vector<Entry> entries_;  // buffers reused between documents
  std::size_t used_ = 0;
  // The used entries ordered by (period or additional line, number, line number, reading order),
  // so that a lookup is a binary search; made at the first lookup after the list changed.
  mutable std::vector<std::size_t> index_;
  mutable bool indexed_ = false;
  core::Record line_record_{STG1_LINE};
  FieldMap line_to_record_{STG1_LINE, STG1};
};

// Which form's rules the ОсобенностиУчета block follows.
enum class FeaturesVariant {
  old_records,  // СЗВ-1, СЗВ-3: the territorial block is always asked for
  szv4,         // СЗВ-4-1: no territorial block when both territorial fields are blank
};

// ОсобенностиУчета of one period or additional line (a record with the fields TER_US,
// TER_KOEF, USL_TR, KPS, SO, SO1, SO2, SO3, VLET, VL1, VL2, VL3).
void write_accounting_features(core::XmlWriter& xml, const core::Record& entry,
                               FeaturesVariant variant = FeaturesVariant::old_records);

// An amount as the converter window shows it: two decimals, blank when zero; a value that is
// not a number is shown as it stands.
std::string shown_amount(std::string_view amount);

// The rows of the window's period list, with the columns of the old-record forms and of
// СЗВ-4-1.
core::ViewList old_records_period_list(const PeriodList& periods);
core::ViewList szv4_period_list(const PeriodList& periods);
// The rows of the window's month table.
core::ViewList month_list(const MonthTable& months);

}  // namespace tolvex::earnings
