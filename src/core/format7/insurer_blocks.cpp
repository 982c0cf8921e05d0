// SPDX-License-Identifier: MIT
#include "core/format7/insurer_blocks.h"

#include "runtime/codepage.h"

namespace tolvex::core {

using namespace runtime::literals;

void write_insurer(XmlWriter& xml, const RecordOf<IST4>& ist4, const InsurerLines& lines) {
  write_tax_number(xml, ist4["INN"], ist4["KPP"]);
  if (lines.registration_and_form) {
    if (std::string_view ogrn = ist4["KOD_OGRN"]; !is_blank(ogrn)) {
      if (trim_right(ogrn).size() > kOgrnLegalEntityLength)
        xml.write_element("КодЕГРИП"_w, ogrn);
      else
        xml.write_element("КодЕГРЮЛ"_w, ogrn);
    }
    if (!is_blank(ist4["OP_FORMA"])) xml.write_element("Форма"_w, ist4["OP_FORMA"]);
  }
  xml.write_element("НаименованиеОрганизации"_w, ist4["NAME"]);
  if (!is_blank(ist4["SNAME"])) xml.write_element("НаименованиеКраткое"_w, ist4["SNAME"]);
  xml.write_element("РегистрационныйНомер"_w, ist4["REGN"]);
  if (!is_blank(ist4["PODR_KOD"])) write_department(xml, ist4["PODR_NAME"], ist4["PODR_KOD"]);
}

void write_tax_number(XmlWriter& xml, std::string_view inn, std::string_view kpp) {
  auto block = xml.block("НалоговыйНомер"_w);
  xml.write_element("ИНН"_w, inn);
  if (trim_right(kpp) != "0") xml.write_element("КПП"_w, kpp);
}

void write_department(XmlWriter& xml, std::string_view name, std::string_view code) {
  auto block = xml.block("Подразделение"_w);
  if (!is_blank(name)) xml.write_element("НаименованиеПодразделения"_w, name);
  if (!is_blank(code)) xml.write_element("НомерПодразделения"_w, code);
}

void write_settlement_period(XmlWriter& xml, std::string_view year) { xml.write_element("РасчетныйПериод"_w, year); }

void write_contribution_sums(XmlWriter& xml, std::string_view insurance, std::string_view funded,
                             std::string_view additional) {
  auto deeper = xml.indented();
  xml.write_element("Страховые"_w, insurance);
  xml.write_element("Накопительные"_w, funded);
  if (trim_right(additional) != "0") xml.write_element("Дополнительные"_w, additional);
}

}  // namespace tolvex::core
