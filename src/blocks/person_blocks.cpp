// SPDX-License-Identifier: MIT
#include "blocks/person_blocks.h"

#include <string>

#include "blocks/address.h"
#include "core/format4/record.h"
#include "runtime/codepage.h"

namespace tolvex::blocks {

using namespace runtime::literals;
using core::equals;
using core::is_blank;

void write_full_name(core::XmlWriter& xml, std::string_view surname, std::string_view first_name,
                     std::string_view patronymic) {
  xml.write_element("Фамилия"_w, surname);
  xml.write_element("Имя"_w, first_name);
  if (!is_blank(patronymic)) xml.write_element("Отчество"_w, patronymic);
}

void write_day_month_year(core::XmlWriter& xml, std::string_view day, std::string_view month, std::string_view year) {
  xml.write_element("День"_w, day);
  xml.write_element("Месяц"_w, month);
  xml.write_element("Год"_w, year);
}

void write_special_date(core::XmlWriter& xml, std::string_view wrapper, std::string_view day, std::string_view month,
                        std::string_view year) {
  auto block = xml.block(wrapper);
  write_day_month_year(xml, day, month, year);
}

std::string_view special_birth_date_element(std::string_view element_name) {
  if (element_name == "ДатаРожденияИзСтрахового"_w) return "ДатаРожденияИзСтраховогоОсобая."_w;
  return "ДатаРожденияОсобая"_w;
}

void write_birth_date(core::XmlWriter& xml, std::string_view kind, std::string_view date, std::string_view day,
                      std::string_view month, std::string_view year, std::string_view element_name) {
  if (equals(kind, "СТАНДАРТ"_w)) {
    xml.write_date_element(element_name, date);
  } else if (equals(kind, "ОСОБАЯ"_w)) {
    std::string_view wrapper = special_birth_date_element(element_name);
    write_special_date(xml, wrapper, day, month, year);
  }
}

void write_birth_place(core::XmlWriter& xml, std::string_view block_name, std::string_view kind, std::string_view town,
                       std::string_view district, std::string_view region, std::string_view country) {
  auto block = xml.block(block_name);
  xml.write_element("ТипМестаРождения"_w, equals(kind, "СТАНДАРТ"_w) ? "СТАНДАРТНОЕ"_w : kind);
  xml.write_element("ГородРождения"_w, town);
  xml.write_element("РайонРождения"_w, district);
  xml.write_element("РегионРождения"_w, region);
  xml.write_element("СтранаРождения"_w, country);
}

void write_identity_document(core::XmlWriter& xml, std::string_view kind, std::string_view name,
                             std::string_view series_roman, std::string_view series_russian, std::string_view number,
                             std::string_view issue_date, std::string_view issued_by) {
  auto identity = xml.block("УдостоверяющийДокумент"_w);
  xml.write_element("ТипУдостоверяющего"_w, kind);
  auto document = xml.block("Документ"_w);
  xml.write_element("НаименованиеУдостоверяющего"_w, name);
  xml.write_element("СерияРимскиеЦифры"_w, series_roman);
  xml.write_element("СерияРусскиеБуквы"_w, series_russian);
  xml.write_element("НомерУдостоверяющего"_w, number);
  xml.write_date_element("ДатаВыдачи"_w, issue_date);
  xml.write_element("КемВыдан"_w, issued_by);
}

void write_name_block(core::XmlWriter& xml, std::string_view element, std::string_view surname,
                      std::string_view first_name, std::string_view patronymic) {
  auto block = xml.block(element);
  write_full_name(xml, surname, first_name, patronymic);
}

void write_address_block(core::XmlWriter& xml, std::string_view element, std::string_view address) {
  auto block = xml.block(element);
  write_address(xml, address);
}

}  // namespace tolvex::blocks
