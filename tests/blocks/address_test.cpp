// SPDX-License-Identifier: MIT
// Address conversion: splitting into parts, normalising, choosing the form, and the lines of
// each form.
#include "blocks/address.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "xml_capture.h"

using namespace tolvex;
using namespace tolvex::blocks;
using runtime::ansi_to_utf8;
using runtime::utf8_to_ansi;

namespace {

// The non-blank parts of a split and normalised address as "FIELD=value;" in UTF-8, and the form.
std::string parts_of(std::string_view utf8_address) {
  AddressParts split = split_address(utf8_to_ansi(utf8_address));
  AddressForm form = address_form(split);
  if (form == AddressForm::russian) normalize_address(split.parts);
  std::string out = form == AddressForm::russian ? "RU:" : form == AddressForm::foreign ? "FOREIGN:" : "UNSTR:";
  for (std::size_t i = 0; i < R_A.fields.size(); ++i) {
    std::string_view v = core::trim_right(split.parts.field(i));
    if (!v.empty()) out += std::string(R_A.fields[i].name) + "=" + ansi_to_utf8(v) + ";";
  }
  return out;
}

std::string written(std::string_view utf8_address) {
  return fakes::written_at(3, [&](core::XmlWriter& xml) { write_address(xml, utf8_to_ansi(utf8_address)); });
}

}  // namespace

TEST(Address, SplittingAndNormalising) {
  struct Case {
    const char* address;
    const char* expected;
  };
  const Case cases[] = {
      // index, no country code, eight commas
      {"300001,Тульская обл,,Тула г,,Ленина ул,Д5,,КВ12",
       "RU:P_INDEX=300001;REGION=Тульская;SOCR1=обл;GOROD=Тула;SOCR3=г;ULICA=Ленина;SOCR5=ул;DOM=5;SOCR6=Д;"
       "KVARTIRA=12;SOCR8=КВ;"},
      // country code 653 and index, nine commas
      {"653,300001,Тульская обл,,Тула г,,Ленина ул,Д5,,КВ12",
       "RU:STRANA=653;P_INDEX=300001;REGION=Тульская;SOCR1=обл;GOROD=Тула;SOCR3=г;ULICA=Ленина;SOCR5=ул;DOM=5;"
       "SOCR6=Д;KVARTIRA=12;SOCR8=КВ;"},
      // another country code: foreign, no normalising
      {"398,300001,Тульская обл,,Тула г,,Ленина ул,Д5,,КВ12",
       "FOREIGN:STRANA=398;P_INDEX=300001;REGION=Тульская обл;GOROD=Тула г;ULICA=Ленина ул;DOM=Д5;KVARTIRA=КВ12;"},
      // country code only, eight commas
      {"653,Московская обл,Одинцовский р-н,,Кубинка п,Лесная ул,ДОМ.5,КОРП.2,КОМ3",
       "RU:STRANA=653;REGION=Московская;SOCR1=обл;RAION=Одинцовский;SOCR2=р-н;NAS_PUNKT=Кубинка;SOCR4=п;"
       "ULICA=Лесная;SOCR5=ул;DOM=5;SOCR6=Д;KORPUS=2;SOCR7=КОРП;KVARTIRA=3;SOCR8=КОМ;"},
      // neither country code nor index, seven commas; leading blanks of parts dropped
      {"Москва г, ,  Москва г,, Тверская ул, ДОМ 7 ,СТР1,К3",
       "RU:REGION=Москва;SOCR1=г;GOROD=Москва;SOCR3=г;ULICA=Тверская;SOCR5=ул;DOM=7;SOCR6=Д;KORPUS=1;SOCR7=СТР;"
       "KVARTIRA=3;SOCR8=КВ;"},
      // a place of one word: blank name, the word is the type; plain numbers keep no type
      {"300001,Тульская обл,район,Тула г,,Ленина ул,5,К.2,К.4",
       "RU:P_INDEX=300001;REGION=Тульская;SOCR1=обл;SOCR2=район;GOROD=Тула;SOCR3=г;ULICA=Ленина;SOCR5=ул;DOM=5;"
       "KORPUS=2;SOCR7=КОРП;KVARTIRA=4;SOCR8=КВ;"},
      // names of several words keep all but the last word
      {"624000,Свердловская обл,,Нижний Тагил г,,Красной Армии ул,ВЛД12,ВЛД.1,КВ.7",
       "RU:P_INDEX=624000;REGION=Свердловская;SOCR1=обл;GOROD=Нижний Тагил;SOCR3=г;ULICA=Красной Армии;SOCR5=ул;"
       "DOM=12;SOCR6=ВЛД;KORPUS=1;SOCR7=ВЛД;KVARTIRA=7;SOCR8=КВ;"},
      // prefixes are compared case-sensitively: lower case stays in the number
      {"300001,Тульская обл,,Тула г,,Ленина ул,д5,корп2,кв12",
       "RU:P_INDEX=300001;REGION=Тульская;SOCR1=обл;GOROD=Тула;SOCR3=г;ULICA=Ленина;SOCR5=ул;DOM=д5;KORPUS=корп2;"
       "KVARTIRA=кв12;"},
      // one comma too few, one too many: unstructured, with the index the first parts gave
      {"300001,Тульская обл,Тула г,,Ленина ул,Д5,,КВ12",
       "UNSTR:P_INDEX=300001;REGION=Тульская обл;RAION=Тула г;"
       "NAS_PUNKT=Ленина ул;ULICA=Д5;KORPUS=КВ12;"},
      {"300001,Тульская обл,,Тула г,,Ленина ул,Д5,,КВ12,",
       "UNSTR:P_INDEX=300001;REGION=Тульская обл;GOROD=Тула г;"
       "ULICA=Ленина ул;DOM=Д5;KVARTIRA=КВ12;"},
      // digits directly followed by letters: a country code, the region after blank positions
      {"12Тульская обл,,Тула г,,Ленина ул,Д5,,КВ12",
       "FOREIGN:STRANA=12;REGION=  Тульская обл;GOROD=Тула г;ULICA=Ленина ул;DOM=Д5;KVARTIRA=КВ12;"},
      // a blank address: unstructured, nothing in the parts
      {"", "UNSTR:"},
      {"   ", "UNSTR:"},
      // free text
      {"г. Тула, ул. Ленина, д. 5", "UNSTR:REGION=г. Тула;RAION=ул. Ленина;GOROD=д. 5;"},
  };
  for (const auto& c : cases) EXPECT_EQ(parts_of(c.address), c.expected) << c.address;
}

TEST(Address, PartsLongerThanTheirFieldsMakeTheAddressUnstructured) {
  const std::string long_place(41, 'A');  // 41 characters: one more than a place field holds
  const std::string long_number(21, '9');
  const char* cases[] = {
      "300001,Тульская обл,,%s г,,Ленина ул,Д5,,КВ12",  // the type word needs the blank too
      "300001,Тульская обл,,Тула г,,Ленина ул,%s,,КВ12",
      "300001,Тульская обл,,Тула г,,Ленина ул,Д5,%s,КВ12",
      "300001,Тульская обл,,Тула г,,Ленина ул,Д5,,%s",
  };
  for (int i = 0; i < 4; ++i) {
    std::string address = cases[i];
    address.replace(address.find("%s"), 2, i == 0 ? long_place.substr(0, 39) : long_number);
    // the first case: 39 + " г" = 41 characters in the city part
    SCOPED_TRACE(address);
    AddressParts split = split_address(utf8_to_ansi(address));
    EXPECT_TRUE(split.structured);
    EXPECT_TRUE(split.oversized);
    EXPECT_EQ(address_form(split), AddressForm::unstructured);
  }
  // exactly 40 and 20 characters still fit
  std::string fits = "300001,Тульская обл,,";
  fits += long_place.substr(0, 38) + " г,,Ленина ул," + long_number.substr(0, 20) + ",,КВ12";
  EXPECT_EQ(address_form(split_address(utf8_to_ansi(fits))), AddressForm::russian);
}

TEST(Address, RussianFormLines) {
  EXPECT_EQ(written("300001,Тульская обл,,Тула г,,Ленина ул,Д5,,КВ12"),
            "   <ТипАдреса>РОССИЙСКИЙ</ТипАдреса>\n"
            "   <Индекс>300001</Индекс>\n"
            "   <РоссийскийАдрес>\n"
            "    <Регион>\n"
            "     <ГеографическоеНазвание>Тульская</ГеографическоеНазвание>\n"
            "     <Сокращение>обл</Сокращение>\n"
            "    </Регион>\n"
            "    <Район>\n    </Район>\n"
            "    <Город>\n"
            "     <ГеографическоеНазвание>Тула</ГеографическоеНазвание>\n"
            "     <Сокращение>г</Сокращение>\n"
            "    </Город>\n"
            "    <НаселенныйПункт>\n    </НаселенныйПункт>\n"
            "    <Улица>\n"
            "     <ГеографическоеНазвание>Ленина</ГеографическоеНазвание>\n"
            "     <Сокращение>ул</Сокращение>\n"
            "    </Улица>\n"
            "    <Дом>\n     <Сокращение>Д</Сокращение>\n     <Номер>5</Номер>\n    </Дом>\n"
            "    <Корпус>\n     <Сокращение></Сокращение>\n     <Номер></Номер>\n    </Корпус>\n"
            "    <Квартира>\n     <Сокращение>КВ</Сокращение>\n     <Номер>12</Номер>\n    </Квартира>\n"
            "   </РоссийскийАдрес>\n");
  // no index, a region of one word: no Индекс line, an empty region name and its type
  EXPECT_TRUE(written("Москва,,,,,,,")
                  .starts_with("   <ТипАдреса>РОССИЙСКИЙ</ТипАдреса>\n"
                               "   <РоссийскийАдрес>\n"
                               "    <Регион>\n"
                               "     <ГеографическоеНазвание></ГеографическоеНазвание>\n"
                               "     <Сокращение>Москва</Сокращение>\n"
                               "    </Регион>\n    <Район>\n    </Район>\n"))
      << written("Москва,,,,,,,");
}

TEST(Address, WholeTextForms) {
  EXPECT_EQ(written("  398,050000,Алматы г,,,,Абая пр,10,,5  "),
            "   <ТипАдреса>ИНОСТРАННЫЙ</ТипАдреса>\n"
            "   <Индекс>050000</Индекс>\n"
            "   <ИностранныйАдрес>\n"
            "    <Адрес>398,050000,Алматы г,,,,Абая пр,10,,5</Адрес>\n"
            "   </ИностранныйАдрес>\n");
  EXPECT_EQ(written(""),
            "   <ТипАдреса>НЕСТРУКТУРИРОВАННЫЙ</ТипАдреса>\n"
            "   <Индекс></Индекс>\n"
            "   <НеструктурированныйАдрес>\n"
            "    <Адрес></Адрес>\n"
            "   </НеструктурированныйАдрес>\n");
  // an index of seven digits is no index: the whole text keeps it, Индекс stays empty
  EXPECT_EQ(written("3000011,Тульская обл,,Тула г,,Ленина ул,Д5,,КВ12"),
            "   <ТипАдреса>НЕСТРУКТУРИРОВАННЫЙ</ТипАдреса>\n"
            "   <Индекс></Индекс>\n"
            "   <НеструктурированныйАдрес>\n"
            "    <Адрес>3000011,Тульская обл,,Тула г,,Ленина ул,Д5,,КВ12</Адрес>\n"
            "   </НеструктурированныйАдрес>\n");
  // pack text is escaped
  EXPECT_EQ(written("Тула, ул. <Мира> & Ко"),
            "   <ТипАдреса>НЕСТРУКТУРИРОВАННЫЙ</ТипАдреса>\n"
            "   <Индекс></Индекс>\n"
            "   <НеструктурированныйАдрес>\n"
            "    <Адрес>Тула, ул. &lt;Мира&gt; &amp; Ко</Адрес>\n"
            "   </НеструктурированныйАдрес>\n");
}
