// SPDX-License-Identifier: MIT
#include "statements/szvk_converter.h"

#include "blocks/period_blocks.h"
#include "blocks/person_blocks.h"
#include "blocks/work_period_blocks.h"
#include "core/conversion/messages.h"
#include "core/conversion/view.h"
#include "core/format4/information_type.h"
#include "core/format7/frame.h"
#include "statements/statement_blocks.h"

namespace tolvex::statements {

using namespace runtime::literals;

using core::as_number;
using core::equals;
using core::is_blank;
using Work = core::RecordOf<RAB1>;
using Period = core::RecordOf<STG1>;

std::string_view SzvkConverter::window_title() const { return "Чтение СЗВ-К из одной пачки"_w; }
std::string_view SzvkConverter::journal_text() const { return " сведения конвертации СЗВ-К"_w; }

core::RunRules SzvkConverter::rules() const {
  core::RunRules r;
  r.counter_line_before_document = true;
  return r;
}

namespace {

// A running number in the pack matches by its numeric value ("01" is 1); a blank or
// non-numeric number matches nothing.
bool number_is(std::string_view field, long long n) { return !is_blank(field) && as_number(field) == n; }

}  // namespace

// The period lines of a work record, each followed at once by its benefit lines. A line of
// another record type stops the work record's periods after the stop message.
runtime::Error SzvkConverter::read_periods(core::PackReader& pack, Work& work) {
  const long long count = as_number(work["KOL_STAG"]);
  core::RecordOf<STG1_LINE> line;
  for (long long k = 1; k <= count; ++k) {
    Period period;
    if (runtime::Error rc = read_by_line_layout(pack, line, period); rc != runtime::Error::ok) return rc;
    period.set("N_RAB", work["N_RAB"]);
    if (k == 1) work.set("PERIOD_N", period["PERIOD_N"]);
    if (k == count) work.set("PERIOD_K", period["PERIOD_K"]);
    if (!equals(period["TYP_Z"], "ПСТЖ"_w)) {
      core::stop_box(op(), std::string(" stg1:typ_z = ") + std::string(period["TYP_Z"]));
      return runtime::Error::ok;  // ignored: the line is dropped and no further periods are read for this work
    }
    core::RecordOf<KSTG> display;
    display.set("NN", work["N_RAB"]);
    display.set("TYP_Z", period["TYP_Z"]);
    display.set("PERIOD_N", period["PERIOD_N"]);
    display.set("PERIOD_K", period["PERIOD_K"]);
    kstg_.push_back(std::move(display));

    const std::string_view benefits = period["KOL_LGOT"];
    const long long benefit_count = is_blank(benefits) ? 0 : as_number(benefits);
    stg1_.push_back({period, false});
    for (long long b = 0; b < benefit_count; ++b) {
      core::RecordOf<LGT1> benefit_line;
      if (runtime::Error rc = pack.read_record(benefit_line); rc != runtime::Error::ok) return rc;
      Period benefit;
      core::copy_same_named(benefit_line, benefit);
      benefit.set("N_RAB", work["N_RAB"]);
      benefit.set("PERIOD_N", "0");
      benefit.set("PERIOD_K", "0");
      benefit.set("KOL_LGOT", "0");
      stg1_.push_back({std::move(benefit), true});
    }
  }
  return runtime::Error::ok;
}

// Special-service lines of one kind (TERUS, USTR, VSLT: the number and the code are the second
// and third fields), each also shown in the window's OSTG list.
template <const core::RecordLayout& L>
runtime::Error SzvkConverter::read_special(core::PackReader& pack, std::string_view count,
                                           std::vector<core::RecordOf<L>>& list) {
  const long long n = as_number(count);
  if (n <= 0) return runtime::Error::ok;
  list.clear();
  for (long long i = 0; i < n; ++i) {
    core::RecordOf<L> entry;
    if (runtime::Error rc = pack.read_record(entry); rc != runtime::Error::ok) return rc;
    core::RecordOf<OSTG> display;
    display.set("NN", entry.field(1));
    display.set("TYP_Z", entry["TYP_Z"]);
    display.set("KOD_USL", entry.field(2));
    display.set("GOD", entry["GOD"]);
    display.set("MES", entry["MES"]);
    display.set("DAY", entry["DAY"]);
    if (equals(entry["TYP_Z"], "ТЕРР"_w)) display.set("USL", "Тер.усл."_w);
    if (equals(entry["TYP_Z"], "ОСОБ"_w)) display.set("USL", "Усл.труда"_w);
    if (equals(entry["TYP_Z"], "ВЫСЛ"_w)) display.set("USL", "Выслуга лет"_w);
    ostg_.push_back(std::move(display));
    list.push_back(std::move(entry));
  }
  return runtime::Error::ok;
}

core::ReadResult SzvkConverter::read_document(core::PackReader& pack) {
  if (runtime::Error rc = pack.read_record(szvk_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, false);
  number_.clear();
  rab1_.clear();
  stg1_.clear();
  kstg_.clear();
  ostg_.clear();
  terus_.clear();
  ustr_.clear();
  vslt_.clear();

  core::RecordOf<RAB1_LINE> line;
  for (long long i = 0, n = as_number(szvk_["KOL_RABOT"]); i < n; ++i) {
    Work work;
    if (runtime::Error rc = read_by_line_layout(pack, line, work); rc != runtime::Error::ok)
      return core::ReadResult::from_code(rc, true);
    if (!is_blank(work["KOL_STAG"]))
      if (runtime::Error rc = read_periods(pack, work); rc != runtime::Error::ok)
        return core::ReadResult::from_code(rc, true);
    rab1_.push_back(std::move(work));
  }
  if (runtime::Error rc = read_special(pack, szvk_["KOL_TERUSL"], terus_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, true);
  if (runtime::Error rc = read_special(pack, szvk_["KOL_USLTR"], ustr_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, true);
  if (runtime::Error rc = read_special(pack, szvk_["KOL_VSLLT"], vslt_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, true);
  return {};
}

// The first entry with the running number wins; a number no entry carries finds nothing.
const Work* SzvkConverter::find_work(long long n) const {
  for (const Work& w : rab1_)
    if (number_is(w["N_RAB"], n)) return &w;
  return nullptr;
}

const Period* SzvkConverter::find_period(const Work& work, long long n) const {
  const long long w = as_number(work["N_RAB"]);
  for (const Row& r : stg1_)
    if (!r.benefit && as_number(r.rec["N_RAB"]) == w && number_is(r.rec["N_PERIOD"], n)) return &r.rec;
  return nullptr;
}

const Period* SzvkConverter::find_benefit(const Work& work, long long period, long long n) const {
  const long long w = as_number(work["N_RAB"]);
  for (const Row& r : stg1_)
    if (r.benefit && as_number(r.rec["N_RAB"]) == w && as_number(r.rec["N_PERIOD"]) == period &&
        number_is(r.rec["N_LGT"], n))
      return &r.rec;
  return nullptr;
}

// The periods of one work record and their benefit rows, as the work-period tree finds them.
class SzvkConverter::WorkPeriods : public blocks::WorkPeriodSource {
 public:
  WorkPeriods(const SzvkConverter& conv, const Work& work) : conv_(conv), work_(work) {}
  std::optional<blocks::WorkPeriod> find_period(long long number) const override {
    const Period* p = conv_.find_period(work_, number);
    if (p == nullptr) return std::nullopt;
    const Period& s = *p;
    return blocks::WorkPeriod{s["N_PERIOD"], s["PERIOD_N"], s["PERIOD_K"], s["KOL_LGOT"],
                              blocks::accounting_features(s)};
  }
  std::optional<blocks::AccountingFeatures> find_additional(long long number, long long line) const override {
    const Period* b = conv_.find_benefit(work_, number, line);
    if (b == nullptr) return std::nullopt;
    return blocks::accounting_features(*b);
  }

 private:
  const SzvkConverter& conv_;
  const Work& work_;
};

void SzvkConverter::write_work(core::XmlWriter& xml, const Work& work) const {
  auto block = xml.block("ПериодДеятельности"_w);
  xml.write_element("ВидДеятельности"_w, work["KOD_DEJT"]);
  const std::string_view kind = work["KOD_DEJT"];
  if (equals(kind, "РАБОТА"_w) || equals(kind, "ДВСТО"_w) || equals(kind, "СЛУЖБА"_w) || !is_blank(work["NAME_ORG"]))
    xml.write_element("НаименованиеОрганизации"_w, work["NAME_ORG"]);
  if (!equals(szvk_["TYP_Z"], "КОНВ"_w)) {
    auto earnings = xml.block("ЗаработокЗаПериод"_w);
    xml.line("<Количество></Количество>"_w);
    auto certificate = xml.block("СправкаОзаработке"_w);
    xml.line("<НомерСправкиОзаработке></НомерСправкиОзаработке>"_w);
    xml.line("<ДатаВыдачиСправки></ДатаВыдачиСправки>"_w);
    xml.line("<НомерПротокола></НомерПротокола>"_w);
    xml.line("<ДатаПротокола></ДатаПротокола>"_w);
    xml.line("<Количество></Количество>"_w);
  }
  blocks::write_work_periods(xml, work["KOL_STAG"], WorkPeriods(*this, work), blocks::kConversionWorkPeriods);
}

void SzvkConverter::write_document(core::XmlWriter& xml) {
  const auto& s = szvk_;
  number_ = core::document_number(s["NDOK_PCH"]);
  auto document = xml.block("КОНВЕРТАЦИЯ"_w);
  xml.write_element("НомерВпачке"_w, number_);
  xml.line("<ВидФормы>СЗВ-К</ВидФормы>"_w);
  // The kind of the records comes from the pack header, not from the document's TYP_F.
  xml.write_element("ТипСведений"_w, core::information_word(header().pch["TYP_SVD"], core::kConversionInformationType));
  xml.write_element("СтраховойНомер"_w, s["STR_N"]);
  blocks::write_name_block(xml, "ФИО"_w, s);
  blocks::write_birth_date(xml, s, "ДатаРождения"_w);
  if (!(is_blank(s["TER_US"]) && equals(s["TER_KOEF"], "0.00"))) {
    auto territory = xml.block("ТерриториальныеУсловия-На31.12.2001"_w);
    blocks::write_territorial_lines(xml, s["TER_US"], s["TER_KOEF"]);
  }
  xml.write_date_element("ДатаЗаполнения"_w, s["DATA_ZAP"]);

  {
    auto before = xml.block("СтажДоРегистрации"_w);
    xml.write_element("Количество"_w, s["KOL_RABOT"]);
    for (long long n = 1, count = as_number(s["KOL_RABOT"]); n <= count; ++n)
      if (const Work* w = find_work(n)) write_work(xml, *w);
  }

  if (!equals(s["TYP_Z"], "КОНВ"_w)) {
    auto merits = xml.block("ВсеОсобыеЗаслуги"_w);
    xml.line("<Количество></Количество>"_w);
    xml.line("<ОсобаяЗаслуга>"_w);
    xml.line("</ОсобаяЗаслуга>"_w);
  }
}

std::vector<core::ViewPage> SzvkConverter::view_pages() const {
  core::ViewPage periods;
  periods.caption = "Периоды"_w;
  core::ViewList works{std::string("Места работы"_w),
                       core::view_texts({"тип"_w, "N"_w, "код"_w, "кол."_w, "с даты"_w, "по дату"_w, "лет"_w, "мес"_w,
                                         "дней"_w, "орган-я"_w}),
                       {}};
  for (const Work& w : rab1_)
    works.rows.push_back(core::view_row(
        w, {"TYP_Z", "N_RAB", "KOD_DEJT", "KOL_STAG", "PERIOD_N", "PERIOD_K", "GOD", "MES", "DAY", "NAME_ORG"}));
  periods.lists.push_back(std::move(works));
  std::vector<Period> rows;
  for (const Row& r : stg1_) rows.push_back(r.rec);
  // The period rows and their benefit rows, in the order of the record STG1.
  periods.lists.push_back(core::view_list(
      "Периоды стажа и льготы"_w,
      core::view_texts({"тип"_w,     "N раб."_w,  "N пер."_w, "N льг."_w,    "с даты"_w, "по дату"_w,   "тер.ус"_w,
                        "коэф"_w,    "усл.тр."_w, "КПС"_w,    "основание"_w, "д0"_w,     "д1"_w,        "д2"_w,
                        "доп.св3"_w, "выслуга"_w, "в1"_w,     "в2"_w,        "в3"_w,     "профессия"_w, "льгот"_w}),
      rows));

  const auto& s = szvk_;
  core::ViewPage details;
  details.caption = "Сведения"_w;
  core::ViewGroup& person = core::add_group(details);
  person.fields.push_back(core::view_field("тип записи:"_w, s, "TYP_Z"));
  core::add_number_in_pack(person, "№ в пачке:"_w, number_, header());
  core::add_fields(person, s,
                   {{"тип формы:"_w, "TYP_F"},
                    {"стр.№:"_w, "STR_N"},
                    {"фамилия:"_w, "FIO1"},
                    {"имя:"_w, "FIO2"},
                    {"отчество:"_w, "FIO3"},
                    {"тип даты рожд.:"_w, "D_ROGD_TYP"},
                    {"дата рожд.:"_w, "D_ROGD"},
                    {"день:"_w, "DAY_D_ROGD"},
                    {"месяц:"_w, "MES_D_ROGD"},
                    {"год:"_w, "GOD_D_ROGD"},
                    {"дата заполнения:"_w, "DATA_ZAP"}});
  core::add_fields(core::add_group(details, "Условия на 31.12.2001"_w), s,
                   {{"тер.усл.:"_w, "TER_US"}, {"коэф.:"_w, "TER_KOEF"}});
  core::add_fields(core::add_group(details, "Общий стаж до 31.12.2001"_w, true), s,
                   {{"лет:"_w, "TSTAG_GOD"}, {"мес.:"_w, "TSTAG_MES"}, {"дней:"_w, "TSTAG_DAY"}});
  core::add_fields(core::add_group(details, "Количество записей"_w, true), s,
                   {{"о работе:"_w, "KOL_RABOT"},
                    {"о тер. условиях:"_w, "KOL_TERUSL"},
                    {"об особых условиях труда:"_w, "KOL_USLTR"},
                    {"о выслуге лет:"_w, "KOL_VSLLT"}});
  details.lists.push_back(core::view_list(
      "Календарные периоды стажа"_w,
      core::view_texts({"N раб."_w, "тип"_w, "с даты"_w, "по дату"_w, "лет"_w, "мес"_w, "дней"_w}), kstg_));
  details.lists.push_back(core::view_list(
      "Стаж по особым условиям"_w, core::view_texts({"N"_w, "тип"_w, "условие"_w, "код"_w, "лет"_w, "мес"_w, "дней"_w}),
      ostg_, true));
  return {periods, details};
}

std::unique_ptr<core::Converter> make_load_szv_k(const core::ConverterContext& ctx) {
  return std::make_unique<SzvkConverter>(ctx);
}

}  // namespace tolvex::statements
