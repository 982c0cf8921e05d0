// СЗВ-4-1 and СЗВ-4-2, the individual records of the СЗВ-4 forms: one ИС_СЗВ-4-1 or ИС_СЗВ-4-2
// element per person. СЗВ-4-1 reads a person line with its work-period and additional lines;
// СЗВ-4-2 a single person line that carries at most one period. The information type, the
// correction kind and the tariff come from the pack record PCH.
#pragma once

#include <memory>
#include <string>

#include "core/converter.h"
#include "core/record.h"
#include "earnings/earnings_document.h"
#include "earnings/earnings_records.h"

namespace tolvex::earnings {

enum class Szv4Form { szv41, szv42 };

// ТипСведений by PCH:TYP_SVD: ИСХОДНАЯ for "ИСХД" or blank, ПЕНСИОННАЯ for "ПЕНС", empty otherwise.
std::string_view szv4_information_type(std::string_view typ_svd);
// ВидКорректировки by PCH:KORR: КОРРЕКТИРУЮЩАЯ, ОТМЕНЯЮЩАЯ, or empty for anything else.
std::string_view szv4_correction_kind(std::string_view korr);

class Szv4Converter : public core::Converter {
 public:
  Szv4Converter(const core::ConverterContext& context, Szv4Form form);

  std::string_view window_title() const override;
  std::string_view journal_text() const override;
  core::RunRules rules() const override;
  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

 private:
  void write_work_periods(core::XmlWriter& xml) const;
  void write_single_period(core::XmlWriter& xml) const;

  Szv4Form form_;
  core::Record person_;
  PeriodList periods_{PeriodNumbering::plain_decimal};
  std::string number_;  // НомерВпачке of the current document
};

std::unique_ptr<core::Converter> make_load_szv41(const core::ConverterContext& context);
std::unique_ptr<core::Converter> make_load_szv42(const core::ConverterContext& context);

}  // namespace tolvex::earnings
