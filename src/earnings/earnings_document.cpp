// SPDX-License-Identifier: MIT
#include "earnings/earnings_document.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "core/conversion/view.h"
#include "runtime/codepage.h"

namespace tolvex::earnings {

using namespace runtime::literals;
using core::as_number;
using core::equals;
using core::is_blank;

// --- MonthTable ------------------------------------------------------------------------------

void MonthTable::clear() {
  months_.clear();
  order_.clear();
}

core::RecordOf<NCHM>& MonthTable::next_entry() {
  std::size_t k = months_.size();
  if (k == entries_.size()) entries_.emplace_back();
  entries_[k].clear();
  months_.push_back(0);
  order_.push_back(k);
  return entries_[k];
}

runtime::Error MonthTable::read_month(core::PackReader& pack) {
  runtime::Error rc = pack.read_line();
  if (rc != runtime::Error::ok) return rc;
  core::RecordOf<NCHM>& e = next_entry();
  core::split_pack_line(pack.line(), e, core::SplitVariant::document);
  // The month is kept in two digits of its numeric value, so that " 1", "1" and "01" are one
  // month and the table orders by month.
  long long month = as_number(e["MES_NUM"]);
  e.set("MES_NUM", core::zero_padded(month, 2));
  months_.back() = month;
  return runtime::Error::ok;
}

void MonthTable::complete() {
  for (long long m = 1; m <= 12; ++m) {
    bool present = false;
    for (long long have : months_)
      if (have == m) present = true;
    if (!present) {
      core::RecordOf<NCHM>& e = next_entry();
      e.set("MES_NUM", core::zero_padded(m, 2));
      months_.back() = m;
    }
  }
  // Insertion sort: stable and without allocation; the table holds a few dozen entries.
  for (std::size_t i = 1; i < order_.size(); ++i) {
    std::size_t k = order_[i], j = i;
    for (; j > 0 && months_[order_[j - 1]] > months_[k]; --j) order_[j] = order_[j - 1];
    order_[j] = k;
  }
}

// --- PeriodList ------------------------------------------------------------------------------

static_assert(core::FieldOf<STG1_LINE>("N_PERIOD").width() == 2 && core::FieldOf<LGT1>("N_LGT").width() == 2,
              "the period tables hold every number of two digits");

PeriodList::PeriodList(PeriodNumbering numbering)
    : numbering_(numbering), periods_(kNumbers), additional_(kNumbers * kNumbers) {}

void PeriodList::clear() {
  used_ = 0;
  if (++person_ == 0) {
    // After four thousand million persons the stamps start again from clean tables.
    std::fill(periods_.begin(), periods_.end(), Slot{});
    std::fill(additional_.begin(), additional_.end(), Slot{});
    person_ = 1;
  }
}

PeriodList::Entry& PeriodList::next_entry() {
  if (used_ == entries_.size()) entries_.emplace_back();
  return entries_[used_++];
}

void PeriodList::note(Slot& slot) {
  if (slot.person == person_) return;  // an earlier entry has the number
  slot.person = person_;
  slot.entry = static_cast<std::uint32_t>(used_ - 1);
}

const PeriodList::Entry* PeriodList::found(const Slot& slot) const {
  return slot.person == person_ ? &entries_[slot.entry] : nullptr;
}

runtime::Error PeriodList::read_period(core::PackReader& pack) {
  Entry& p = next_entry();
  if (runtime::Error rc = pack.read_record(p.period); rc != runtime::Error::ok) {
    --used_;  // the line was not there
    return rc;
  }
  p.additional = false;
  p.number = as_number(p.period["N_PERIOD"]);
  p.line_number = 0;
  p.period_number.assign(numbering_ == PeriodNumbering::plain_decimal ? std::to_string(p.number)
                                                                      : std::string(p.period.value("N_PERIOD")));
  note(periods_[static_cast<std::size_t>(p.number)]);
  // Copied now: the entry may move when the list grows below.
  const std::string period_number = p.period_number;
  const long long number = p.number;
  const std::string_view count = p.period["KOL_LGOT"];
  if (is_blank(count)) return runtime::Error::ok;
  const long long lines = as_number(count);
  for (long long j = 0; j < lines; ++j) {
    Entry& a = next_entry();
    if (runtime::Error rc = pack.read_record(a.line); rc != runtime::Error::ok) {
      --used_;  // the line was not there
      return rc;
    }
    a.additional = true;
    a.period_number = period_number;
    a.number = number;
    a.line_number = as_number(a.line["N_LGT"]);
    note(additional_[static_cast<std::size_t>(number * kNumbers + a.line_number)]);
  }
  return runtime::Error::ok;
}

const PeriodList::Entry* PeriodList::period(long long i) const {
  if (i < 0 || i >= kNumbers) return nullptr;
  return found(periods_[static_cast<std::size_t>(i)]);
}

const PeriodList::Entry* PeriodList::additional(long long i, long long j) const {
  if (i < 0 || i >= kNumbers || j < 0 || j >= kNumbers) return nullptr;
  return found(additional_[static_cast<std::size_t>(i * kNumbers + j)]);
}

// --- the periods as the work-period tree finds them -----------------------------------------

std::optional<blocks::WorkPeriod> PeriodList::find_period(long long number) const {
  const Entry* e = period(number);
  if (e == nullptr) return std::nullopt;
  const core::RecordOf<STG1_LINE>& s = e->period;
  return blocks::WorkPeriod{s["N_PERIOD"], s["PERIOD_N"], s["PERIOD_K"], s["KOL_LGOT"], blocks::accounting_features(s)};
}

std::optional<blocks::AccountingFeatures> PeriodList::find_additional(long long number, long long line) const {
  const Entry* e = additional(number, line);
  if (e == nullptr) return std::nullopt;
  return blocks::accounting_features(e->line);
}

// --- the window ------------------------------------------------------------------------------

std::string shown_amount(std::string_view amount) {
  std::string_view v = core::trim_right(amount);
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  if (v.empty()) return {};
  double x = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), x);
  if (ec != std::errc() || end != v.data() + v.size()) return std::string(v);
  if (x == 0) return {};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", x);
  return buf;
}

namespace {

std::string text(std::string_view field) { return std::string(core::trim_right(field)); }

}  // namespace

core::ViewList month_list(const MonthTable& months) {
  core::ViewList list;
  list.caption = "Помесячно"_w;
  list.columns = core::view_texts({"тип"_w, "мес"_w, "начислено"_w, "больн."_w});
  for (std::size_t k = 0; k < months.size(); ++k) {
    const core::RecordOf<NCHM>& m = months.at(k);
    list.rows.push_back(
        {text(m["TYP_Z"]), text(m["MES_NUM"]), shown_amount(m["SUM_ZAR"]), shown_amount(m["SUM_BOLN"])});
  }
  return list;
}

core::ViewList old_records_period_list(const PeriodList& periods) {
  core::ViewList list;
  list.caption = "Тип периода стажа, Особые усл. труда, Исчисл.тр. стаж, Выслуга лет"_w;
  list.beside = true;  // beside the months
  list.columns =
      core::view_texts({"тип"_w, "№  перида стажа"_w, "начало"_w, "конец"_w, "тер.ус"_w, "коэф"_w, "Усл.тр."_w, "КПС"_w,
                        "основание"_w, "д1"_w, "д2"_w, "доп.св3"_w, "основание"_w, "в1"_w, "в2"_w, "в3"_w, "льгот"_w});
  // A row of a period line or of an additional line; the fields only a period line has are
  // blank for an additional line.
  const auto row = [](const auto& f, std::string number, std::string start, std::string end, std::string lines) {
    return std::vector<std::string>{
        text(f["TYP_Z"]),  std::move(number), std::move(start), std::move(end), text(f["TER_US"]), text(f["TER_KOEF"]),
        text(f["USL_TR"]), text(f["KPS"]),    text(f["SO"]),    text(f["SO1"]), text(f["SO2"]),    text(f["SO3"]),
        text(f["VLET"]),   text(f["VL1"]),    text(f["VL2"]),   text(f["VL3"]), std::move(lines)};
  };
  for (std::size_t k = 0; k < periods.size(); ++k) {
    const auto& e = periods[k];
    if (e.additional)
      list.rows.push_back(row(e.line, text(e.line["N_LGT"]), {}, {}, {}));
    else
      list.rows.push_back(row(e.period, text(e.period["N_PERIOD"]), text(e.period["PERIOD_N"]),
                              text(e.period["PERIOD_K"]), text(e.period["KOL_LGOT"])));
  }
  return list;
}

core::ViewList szv4_period_list(const PeriodList& periods) {
  core::ViewList list;
  list.columns = core::view_texts({"№ стажа"_w, "начало"_w, "конец"_w, "тер.ус"_w, "коэф"_w, "основание"_w, "код КПС"_w,
                                   "д.св1"_w, "д.св2"_w, "доп.св3"_w, "в.л1"_w, "в.л2"_w, "в.л3"_w, "льгот"_w});
  // A row of a period line or of an additional line, as in the old-record forms' list.
  const auto row = [](const auto& f, std::string number, std::string start, std::string end, std::string lines) {
    return std::vector<std::string>{std::move(number),   std::move(start),  std::move(end), text(f["TER_US"]),
                                    text(f["TER_KOEF"]), text(f["USL_TR"]), text(f["KPS"]), text(f["SO1"]),
                                    text(f["SO2"]),      text(f["SO3"]),    text(f["VL1"]), text(f["VL2"]),
                                    text(f["VL3"]),      std::move(lines)};
  };
  for (std::size_t k = 0; k < periods.size(); ++k) {
    const auto& e = periods[k];
    if (e.additional)
      list.rows.push_back(row(e.line, text(e.line["N_LGT"]), {}, {}, {}));
    else
      list.rows.push_back(row(e.period, text(e.period["N_PERIOD"]), text(e.period["PERIOD_N"]),
                              text(e.period["PERIOD_K"]), text(e.period["KOL_LGOT"])));
  }
  return list;
}

}  // namespace tolvex::earnings
