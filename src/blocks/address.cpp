// SPDX-License-Identifier: MIT
#include "blocks/address.h"

#include <span>
#include <string>

#include "runtime/codepage.h"

namespace tolvex::blocks {

using namespace runtime::literals;
using core::is_blank;
using core::trim_right;
using Parts = core::RecordOf<R_A>;
using Part = Parts::Field;

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The parts from the region on, by part number 3 to 12 (10 to 12 all go to the flat).
Part field_of_part(std::size_t k) {
  static constexpr Part fields[] = {"REGION", "RAION", "GOROD", "NAS_PUNKT", "ULICA", "DOM", "KORPUS", "KVARTIRA"};
  return fields[k < 10 ? k - 3 : 7];
}

struct Prefix {
  std::string_view prefix;
  std::string_view type;
};

const Prefix kHousePrefixes[] = {{"ДОМ."_w, "Д"_w},   {"ДОМ"_w, "Д"_w},   {"Д."_w, "Д"_w},     {"Д"_w, "Д"_w},
                                 {"СТР."_w, "СТР"_w}, {"СТР"_w, "СТР"_w}, {"ВЛД."_w, "ВЛД"_w}, {"ВЛД"_w, "ВЛД"_w}};
const Prefix kCorpusPrefixes[] = {{"КОРП."_w, "КОРП"_w}, {"К."_w, "КОРП"_w},  {"К"_w, "КОРП"_w}, {"СТР."_w, "СТР"_w},
                                  {"СТР"_w, "СТР"_w},    {"ВЛД."_w, "ВЛД"_w}, {"ВЛД"_w, "ВЛД"_w}};
const Prefix kFlatPrefixes[] = {{"КВ."_w, "КВ"_w}, {"КВ"_w, "КВ"_w},    {"К."_w, "КВ"_w},
                                {"К"_w, "КВ"_w},   {"КОМ."_w, "КОМ"_w}, {"КОМ"_w, "КОМ"_w}};

// A place part "Тульская обл": the last word is the type word, what stands before it the name.
void divide_place(Parts& r, Part name_field, Part type_field) {
  std::string part(trim_right(r[name_field]));
  if (part.empty()) return;
  std::size_t last = part.rfind(' ');
  std::size_t start = last == std::string::npos ? 0 : last + 1;
  r.set(type_field, std::string_view(part).substr(start));  // cut to the type field's width
  r.set(name_field, std::string_view(part).substr(0, start));
}

// A number with its type prefix ("КВ.12"): the longest matching prefix gives the type.
void take_prefix(Parts& r, Part number_field, Part type_field, std::span<const Prefix> prefixes) {
  std::string number(r[number_field]);
  const Prefix* best = nullptr;
  for (const auto& p : prefixes)
    if (number.starts_with(p.prefix) && (!best || p.prefix.size() > best->prefix.size())) best = &p;
  if (best) {
    r.set(type_field, best->type);
    number.erase(0, best->prefix.size());
  }
  std::size_t first = number.find_first_not_of(' ');
  r.set(number_field, first == std::string::npos ? std::string_view{} : std::string_view(number).substr(first));
}

// A place element with its name and type word: Район, Город, НаселенныйПункт, Улица.
void write_place(core::XmlWriter& xml, std::string_view element, std::string_view name, std::string_view type) {
  auto block = xml.block(element);
  if (!is_blank(name)) {
    xml.write_element("ГеографическоеНазвание"_w, name);
    xml.write_element("Сокращение"_w, type);
  }
}

void write_number(core::XmlWriter& xml, std::string_view element, std::string_view type, std::string_view number) {
  auto block = xml.block(element);
  xml.write_element("Сокращение"_w, type);
  xml.write_element("Номер"_w, number);
}

// The foreign and the unstructured form: the index and the whole text.
void write_whole(core::XmlWriter& xml, std::string_view type, std::string_view block, std::string_view index,
                 std::string_view address) {
  std::string_view text = trim_right(address);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  xml.write_element("ТипАдреса"_w, type);
  xml.write_element("Индекс"_w, index);
  auto whole = xml.block(block);
  xml.write_element("Адрес"_w, text);
}

}  // namespace

AddressParts split_address(std::string_view address) {
  AddressParts out;
  Parts& r = out.parts;
  r.clear();
  static constexpr Part strana = "STRANA", index = "P_INDEX", region = "REGION";
  std::size_t k = 1, n = 0;
  for (char ch : trim_right(address)) {
    if (ch == ',') {
      ++k;
      n = 0;
      continue;
    }
    if (ch == ' ' && n == 0) continue;
    if (k == 1) {
      if (is_digit(ch)) {
        r.put(strana, n++, ch);
        if (n > 3) {  // four digits: a postal index, not a country code
          std::string digits(r[strana].substr(0, index.width()));
          r.set(index, digits);
          r.set(strana, {});
          k = 2;
        }
      } else {  // neither country code nor index: the region begins
        r.put(region, n++, ch);
        k = 3;
      }
    } else if (k == 2) {
      if (is_digit(ch)) {
        r.put(index, n++, ch);
        if (n > index.width()) {
          out.oversized = out.index_oversized = true;
          k = 3;
        }
      } else {
        r.put(region, n++, ch);
        k = 3;
      }
    } else if (k <= 12) {
      Part f = field_of_part(k);
      if (n >= f.width()) out.oversized = true;
      r.put(f, n++, ch);
    }
  }
  out.structured = k == 10;
  return out;
}

void normalize_address(Parts& r) {
  divide_place(r, "REGION", "SOCR1");
  divide_place(r, "RAION", "SOCR2");
  divide_place(r, "GOROD", "SOCR3");
  divide_place(r, "NAS_PUNKT", "SOCR4");
  divide_place(r, "ULICA", "SOCR5");
  take_prefix(r, "DOM", "SOCR6", kHousePrefixes);
  take_prefix(r, "KORPUS", "SOCR7", kCorpusPrefixes);
  take_prefix(r, "KVARTIRA", "SOCR8", kFlatPrefixes);
}

AddressForm address_form(const AddressParts& split) {
  std::string_view country = split.parts["STRANA"];
  if (!is_blank(country) && !core::equals(country, "653")) return AddressForm::foreign;
  return split.structured && !split.oversized ? AddressForm::russian : AddressForm::unstructured;
}

void write_address(core::XmlWriter& xml, std::string_view address) {
  AddressParts split = split_address(address);
  AddressForm form = address_form(split);
  Parts& r = split.parts;
  // An index of more than six digits is not an index: the whole text carries it.
  std::string_view index = split.index_oversized ? std::string_view{} : r["P_INDEX"];
  if (form == AddressForm::foreign) {
    write_whole(xml, "ИНОСТРАННЫЙ"_w, "ИностранныйАдрес"_w, index, address);
    return;
  }
  if (form == AddressForm::unstructured) {
    write_whole(xml, "НЕСТРУКТУРИРОВАННЫЙ"_w, "НеструктурированныйАдрес"_w, index, address);
    return;
  }
  normalize_address(r);
  xml.write_element("ТипАдреса"_w, "РОССИЙСКИЙ"_w);
  if (!is_blank(index)) xml.write_element("Индекс"_w, index);
  auto russian = xml.block("РоссийскийАдрес"_w);
  {
    auto region = xml.block("Регион"_w);
    xml.write_element("ГеографическоеНазвание"_w, r["REGION"]);
    if (!is_blank(r["SOCR1"])) xml.write_element("Сокращение"_w, r["SOCR1"]);
  }
  write_place(xml, "Район"_w, r["RAION"], r["SOCR2"]);
  write_place(xml, "Город"_w, r["GOROD"], r["SOCR3"]);
  write_place(xml, "НаселенныйПункт"_w, r["NAS_PUNKT"], r["SOCR4"]);
  write_place(xml, "Улица"_w, r["ULICA"], r["SOCR5"]);
  write_number(xml, "Дом"_w, r["SOCR6"], r["DOM"]);
  write_number(xml, "Корпус"_w, r["SOCR7"], r["KORPUS"]);
  write_number(xml, "Квартира"_w, r["SOCR8"], r["KVARTIRA"]);
}

}  // namespace tolvex::blocks
