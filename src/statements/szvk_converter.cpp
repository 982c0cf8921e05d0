#include "statements/szvk_converter.h"

#include "core/messages.h"
#include "core/period_blocks.h"
#include "earnings/work_period_blocks.h"
#include "person/person_blocks.h"
#include "statements/statement_blocks.h"

namespace tolvex::statements {

using core::as_number;
using core::equals;
using core::is_blank;
using core::Record;

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
int SzvkConverter::read_periods(core::PackReader& pack, Record& work) {
  const long long count = as_number(work["KOL_STAG"]);
  Record line(STG1_LINE);
  for (long long k = 1; k <= count; ++k) {
    Record period(STG1);
    if (int rc = read_by_line_layout(pack, line, period)) return rc;
    period.set("N_RAB", work["N_RAB"]);
    if (k == 1) work.set("PERIOD_N", period["PERIOD_N"]);
    if (k == count) work.set("PERIOD_K", period["PERIOD_K"]);
    if (!equals(period["TYP_Z"], "ПСТЖ"_w)) {
      core::stop_box(op(), std::string(" stg1:typ_z = ") + std::string(period["TYP_Z"]));
      return 0;  // ignored: the line is dropped and no further periods are read for this work
    }
    Record display(KSTG);
    display.set("NN", work["N_RAB"]);
    display.set("TYP_Z", period["TYP_Z"]);
    display.set("PERIOD_N", period["PERIOD_N"]);
    display.set("PERIOD_K", period["PERIOD_K"]);
    kstg_.push_back(std::move(display));

    const std::string_view benefits = period["KOL_LGOT"];
    const long long benefit_count = is_blank(benefits) ? 0 : as_number(benefits);
    stg1_.push_back({period, false});
    for (long long b = 0; b < benefit_count; ++b) {
      Record benefit_line(LGT1);
      if (int rc = pack.read_record(benefit_line)) return rc;
      Record benefit(STG1);
      copy_fields(benefit_line, benefit);
      benefit.set("N_RAB", work["N_RAB"]);
      benefit.set("PERIOD_N", "0");
      benefit.set("PERIOD_K", "0");
      benefit.set("KOL_LGOT", "0");
      stg1_.push_back({std::move(benefit), true});
    }
  }
  return 0;
}

// Special-service lines of one kind, each also shown in the window's OSTG list.
int SzvkConverter::read_special(core::PackReader& pack, const core::RecordLayout& layout, std::string_view count,
                                std::vector<Record>& list) {
  const long long n = as_number(count);
  if (n <= 0) return 0;
  list.clear();
  for (long long i = 0; i < n; ++i) {
    Record entry(layout);
    if (int rc = pack.read_record(entry)) return rc;
    Record display(OSTG);
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
  return 0;
}

core::ReadResult SzvkConverter::read_document(core::PackReader& pack) {
  if (int rc = pack.read_record(szvk_)) return core::ReadResult::from_code(rc, false);
  number_.clear();
  rab1_.clear();
  stg1_.clear();
  kstg_.clear();
  ostg_.clear();
  terus_.clear();
  ustr_.clear();
  vslt_.clear();

  Record line(RAB1_LINE);
  for (long long i = 0, n = as_number(szvk_["KOL_RABOT"]); i < n; ++i) {
    Record work(RAB1);
    if (int rc = read_by_line_layout(pack, line, work)) return core::ReadResult::from_code(rc, true);
    if (!is_blank(work["KOL_STAG"]))
      if (int rc = read_periods(pack, work)) return core::ReadResult::from_code(rc, true);
    rab1_.push_back(std::move(work));
  }
  if (int rc = read_special(pack, TERUS, szvk_["KOL_TERUSL"], terus_)) return core::ReadResult::from_code(rc, true);
  if (int rc = read_special(pack, USTR, szvk_["KOL_USLTR"], ustr_)) return core::ReadResult::from_code(rc, true);
  if (int rc = read_special(pack, VSLT, szvk_["KOL_VSLLT"], vslt_)) return core::ReadResult::from_code(rc, true);
  return {};
}

// The first entry with the running number wins; a number no entry carries finds nothing.
const Record* SzvkConverter::find_work(long long n) const {
  for (const Record& w : rab1_)
    if (number_is(w["N_RAB"], n)) return &w;
  return nullptr;
}

const Record* SzvkConverter::find_period(const Record& work, long long n) const {
  const long long w = as_number(work["N_RAB"]);
  for (const Row& r : stg1_)
    if (!r.benefit && as_number(r.rec["N_RAB"]) == w && number_is(r.rec["N_PERIOD"], n)) return &r.rec;
  return nullptr;
}

const Record* SzvkConverter::find_benefit(const Record& work, const Record& period, long long n) const {
  const long long w = as_number(work["N_RAB"]);
  const long long p = as_number(period["N_PERIOD"]);
  for (const Row& r : stg1_)
    if (r.benefit && as_number(r.rec["N_RAB"]) == w && as_number(r.rec["N_PERIOD"]) == p &&
        number_is(r.rec["N_LGT"], n))
      return &r.rec;
  return nullptr;
}

// ОсобенностиУчета of a period row or a benefit row.
void SzvkConverter::write_features(core::XmlWriter& xml, const Record& row) const {
  xml.open("ОсобенностиУчета"_w);
  core::write_territorial_conditions(xml, row["TER_US"], row["TER_KOEF"]);
  earnings::write_special_conditions(xml, row["USL_TR"], row["KPS"]);
  if (!is_blank(row["SO"])) {
    xml.open("ИсчисляемыйСтаж"_w);
    xml.write_element("ОснованиеИС"_w, row["SO"]);
    if (equals(row["SO"], "ВОДОЛАЗ"_w)) {
      earnings::write_hours_output(xml, row["SO1"], row["SO2"]);
    } else {
      xml.open("ВыработкаКалендарная"_w);
      earnings::write_years_months_days(xml, {}, row["SO1"], row["SO2"]);
      xml.close("ВыработкаКалендарная"_w);
    }
    xml.close("ИсчисляемыйСтаж"_w);
  }
  if (!is_blank(row["SO3"])) xml.write_element("ДекретДети"_w, row["SO3"]);
  if (!is_blank(row["VLET"])) earnings::write_long_service(xml, row["VLET"], row["VL1"], row["VL2"], row["VL3"]);
  if (!is_blank(row["PROF"])) xml.write_element("ПрофессияДолжность"_w, row["PROF"]);
  xml.close("ОсобенностиУчета"_w);
}

void SzvkConverter::write_period(core::XmlWriter& xml, const Record& work, const Record& period) const {
  xml.open("ПериодРаботы"_w);
  xml.open("ОсновнаяСтрока"_w);
  xml.write_element("НомерСтроки"_w, period["N_PERIOD"]);
  xml.write_date_element("ДатаНачалаПериода"_w, period["PERIOD_N"]);
  xml.write_date_element("ДатаКонцаПериода"_w, period["PERIOD_K"]);
  write_features(xml, period);
  xml.close("ОсновнаяСтрока"_w);
  if (const long long benefits = as_number(period["KOL_LGOT"]); benefits > 0) {
    xml.open("ДополнительныеСтроки"_w);
    xml.write_element("Количество"_w, period["KOL_LGOT"]);
    for (long long n = 1; n <= benefits; ++n)
      if (const Record* b = find_benefit(work, period, n)) write_features(xml, *b);
    xml.close("ДополнительныеСтроки"_w);
  }
  xml.close("ПериодРаботы"_w);
}

void SzvkConverter::write_work(core::XmlWriter& xml, const Record& work) const {
  xml.open("ПериодДеятельности"_w);
  xml.write_element("ВидДеятельности"_w, work["KOD_DEJT"]);
  const std::string_view kind = work["KOD_DEJT"];
  if (equals(kind, "РАБОТА"_w) || equals(kind, "ДВСТО"_w) || equals(kind, "СЛУЖБА"_w) || !is_blank(work["NAME_ORG"]))
    xml.write_element("НаименованиеОрганизации"_w, work["NAME_ORG"]);
  if (!equals(szvk_["TYP_Z"], "КОНВ"_w)) {
    xml.open("ЗаработокЗаПериод"_w);
    xml.line("<Количество></Количество>"_w);
    xml.open("СправкаОзаработке"_w);
    xml.line("<НомерСправкиОзаработке></НомерСправкиОзаработке>"_w);
    xml.line("<ДатаВыдачиСправки></ДатаВыдачиСправки>"_w);
    xml.line("<НомерПротокола></НомерПротокола>"_w);
    xml.line("<ДатаПротокола></ДатаПротокола>"_w);
    xml.line("<Количество></Количество>"_w);
    xml.close("СправкаОзаработке"_w);
    xml.close("ЗаработокЗаПериод"_w);
  }
  xml.open("ВсеПериодыРаботы"_w);
  xml.write_element("Количество"_w, work["KOL_STAG"]);
  for (long long n = 1, count = as_number(work["KOL_STAG"]); n <= count; ++n)
    if (const Record* p = find_period(work, n)) write_period(xml, work, *p);
  xml.close("ВсеПериодыРаботы"_w);
  xml.close("ПериодДеятельности"_w);
}

void SzvkConverter::write_document(core::XmlWriter& xml) {
  const Record& s = szvk_;
  xml.xml_depth = 0;
  number_ = document_number(s["NDOK_PCH"]);
  xml.open("КОНВЕРТАЦИЯ"_w);
  xml.write_element("НомерВпачке"_w, number_);
  xml.line("<ВидФормы>СЗВ-К</ВидФормы>"_w);
  // The kind of the records comes from the pack header, not from the document's TYP_F.
  const std::string_view kind = header().pch["TYP_SVD"];
  if (equals(kind, "ИСХД"_w))
    xml.line("<ТипСведений>ИСХОДНАЯ</ТипСведений>"_w);
  else if (equals(kind, "КОРР"_w))
    xml.line("<ТипСведений>КОРРЕКТИРУЮЩАЯ</ТипСведений>"_w);
  else if (equals(kind, "ОТМН"_w))
    xml.line("<ТипСведений>ОТМЕНЯЮЩАЯ</ТипСведений>"_w);
  else
    xml.line("<ТипСведений></ТипСведений>"_w);
  xml.write_element("СтраховойНомер"_w, s["STR_N"]);
  xml.open("ФИО"_w);
  person::write_full_name(xml, s["FIO1"], s["FIO2"], s["FIO3"]);
  xml.close("ФИО"_w);
  person::write_birth_date(xml, s["D_ROGD_TYP"], s["D_ROGD"], s["DAY_D_ROGD"], s["MES_D_ROGD"], s["GOD_D_ROGD"],
                           "ДатаРождения"_w);
  if (!(is_blank(s["TER_US"]) && equals(s["TER_KOEF"], "0.00"))) {
    xml.open("ТерриториальныеУсловия-На31.12.2001"_w);
    earnings::write_territorial_lines(xml, s["TER_US"], s["TER_KOEF"]);
    xml.close("ТерриториальныеУсловия-На31.12.2001"_w);
  }
  xml.write_date_element("ДатаЗаполнения"_w, s["DATA_ZAP"]);

  xml.open("СтажДоРегистрации"_w);
  xml.write_element("Количество"_w, s["KOL_RABOT"]);
  for (long long n = 1, count = as_number(s["KOL_RABOT"]); n <= count; ++n)
    if (const Record* w = find_work(n)) write_work(xml, *w);
  xml.close("СтажДоРегистрации"_w);

  if (!equals(s["TYP_Z"], "КОНВ"_w)) {
    xml.open("ВсеОсобыеЗаслуги"_w);
    xml.line("<Количество></Количество>"_w);
    xml.line("<ОсобаяЗаслуга>"_w);
    xml.line("</ОсобаяЗаслуга>"_w);
    xml.close("ВсеОсобыеЗаслуги"_w);
  }
  xml.close("КОНВЕРТАЦИЯ"_w);
}

std::vector<core::ViewPage> SzvkConverter::view_pages() const {
  core::ViewPage periods;
  periods.caption = "Периоды"_w;
  core::ViewList works;
  works.columns = texts({"тип"_w, "N"_w, "код"_w, "кол."_w, "с даты"_w, "по дату"_w, "лет"_w, "мес"_w, "дней"_w,
                         "орган-я"_w});
  for (const Record& w : rab1_)
    works.rows.push_back(
        view_row(w, {"TYP_Z", "N_RAB", "KOD_DEJT", "KOL_STAG", "PERIOD_N", "PERIOD_K", "GOD", "MES", "DAY", "NAME_ORG"}));
  periods.lists.push_back(std::move(works));
  std::vector<Record> rows;
  for (const Row& r : stg1_) rows.push_back(r.rec);
  periods.lists.push_back(view_list({}, field_names(STG1), rows));

  core::ViewPage details;
  details.caption = "Сведения"_w;
  details.fields = view_fields(szvk_);
  if (!number_.empty()) details.fields[1].value = number_;
  details.lists.push_back(view_list("Календарные периоды стажа"_w, field_names(KSTG), kstg_));
  details.lists.push_back(view_list("Стаж по особым условиям"_w, field_names(OSTG), ostg_));
  return {periods, details};
}

std::unique_ptr<core::Converter> make_load_szv_k(const core::ConverterContext& ctx) {
  return std::make_unique<SzvkConverter>(ctx);
}

}  // namespace tolvex::statements
