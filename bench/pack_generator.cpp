// SPDX-License-Identifier: MIT
#include "pack_generator.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "app/document_kinds.h"
#include "earnings/earnings_records.h"
#include "runtime/codepage.h"
#include "statements/szvk_converter.h"

namespace tolvex::bench {

namespace {

using Pool = std::span<const std::string_view>;

constexpr std::string_view kMaleSurnames[] = {
    "Иванов",  "Смирнов", "Кузнецов", "Попов",    "Васильев", "Петров",    "Соколов", "Михайлов",
    "Новиков", "Фёдоров", "Морозов",  "Волков",   "Алексеев", "Лебедев",   "Семёнов", "Егоров",
    "Павлов",  "Козлов",  "Степанов", "Николаев", "Орлов",    "Андреев",   "Макаров", "Никитин",
    "Захаров", "Зайцев",  "Соловьёв", "Борисов",  "Яковлев",  "Григорьев", "Романов", "Воробьёв"};
constexpr std::string_view kMaleNames[] = {"Александр", "Сергей", "Владимир", "Андрей",  "Алексей",  "Дмитрий",
                                           "Николай",   "Иван",   "Михаил",   "Евгений", "Юрий",     "Виктор",
                                           "Павел",     "Олег",   "Игорь",    "Антон",   "Григорий", "Ринат"};
constexpr std::string_view kFemaleNames[] = {"Елена",     "Ольга", "Наталья",   "Татьяна", "Ирина",    "Светлана",
                                             "Галина",    "Анна",  "Мария",     "Людмила", "Марина",   "Надежда",
                                             "Валентина", "Юлия",  "Екатерина", "Любовь",  "Дильноза", "Вера"};
constexpr std::string_view kPatronymicStems[] = {"Александров", "Сергеев",  "Владимиров", "Андреев",  "Алексеев",
                                                 "Дмитриев",    "Николаев", "Иванов",     "Михайлов", "Викторов",
                                                 "Павлов",      "Олегов",   "Петров",     "Степанов", "Юрьев"};

struct Place {
  std::string_view index, region, city;
};
constexpr Place kPlaces[] = {
    {"620014", "Свердловская обл", "Екатеринбург"}, {"622001", "Свердловская обл", "Нижний Тагил"},
    {"623100", "Свердловская обл", "Первоуральск"}, {"624860", "Свердловская обл", "Камышлов"},
    {"623850", "Свердловская обл", "Ирбит"},        {"450077", "Республика Башкортостан", "Уфа"},
    {"454091", "Челябинская обл", "Челябинск"},     {"614000", "Пермский край", "Пермь"},
    {"625000", "Тюменская обл", "Тюмень"},          {"640000", "Курганская обл", "Курган"}};
constexpr std::string_view kStreets[] = {"Малышева ул", "Ленина пр-кт",      "Советская ул",  "Луначарского ул",
                                         "Вайнера ул",  "Гагарина ул",       "Белинского ул", "Мира ул",
                                         "Победы ул",   "Космонавтов пр-кт", "Садовая ул",    "Заводская ул"};
constexpr std::string_view kIssuers[] = {"УВД Ленинского р-на г.Екатеринбурга",
                                         "ОВД Кировского р-на г.Уфы",
                                         "ОУФМС по Свердловской обл в Ленинском р-не",
                                         "УВД г.Нижнего Тагила",
                                         "ОВД г.Камышлова",
                                         "ОУФМС России по Челябинской обл"};
constexpr std::string_view kInsurers[] = {"ООО \"Уральские станки\"", "ЗАО \"Тагилстрой\"",  "ОАО \"Уралхиммаш\"",
                                          "МУП \"Горводоканал\"",     "ООО \"Север-Транс\"", "ГУП \"Облкоммунэнерго\""};
constexpr std::string_view kOrganisations[] = {"Завод \"Уралмаш\"",  "Трест \"Норильскстрой\"", "Колхоз им. Ленина",
                                               "Шахта \"Северная\"", "Средняя школа № 12",      "Горбольница № 3"};
constexpr std::string_view kProfessions[] = {"слесарь", "сталевар",    "мастер участка", "инженер", "водитель",
                                             "учитель", "врач-хирург", "агроном",        "токарь",  "бухгалтер"};
constexpr std::string_view kWorkKinds[] = {"РАБОТА", "РАБОТА", "РАБОТА", "СЛУЖБА", "УЧЕБА"};
constexpr std::string_view kConditions[] = {"27-1", "27-2", "27-ПД", "28-ЕЗ"};
constexpr std::string_view kPositions[] = {"1010100а-1754а", "2010100а-1754б", "23200000-13449", "2130200а-17541"};
constexpr std::string_view kLeave[] = {"ДЛОТПУСК", "ДЕТИ", "ВРИО", "КВАЛИФ"};
constexpr std::string_view kTerritory[] = {"РКС", "МКС"};

// One field of a pack line: quoted when it holds a comma or a quote, its quotes doubled.
void field(std::string& out, std::string_view value) {
  out.push_back(',');
  if (value.find_first_of(",\"") == std::string_view::npos) {
    out.append(value);
    return;
  }
  out.push_back('"');
  for (char c : value) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

std::string two(int v) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d", v);
  return b;
}

std::string date(int d, int m, int y) { return two(d) + "." + two(m) + "." + std::to_string(y); }

int days_in(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// The day of the year (0-based) as a date.
std::string day_of_year(int day, int year) {
  int m = 1;
  while (day >= days_in(m, year)) day -= days_in(m++, year);
  return date(day + 1, m, year);
}

std::string money(long long kopecks) {
  char b[32];
  std::snprintf(b, sizeof b, "%lld.%02lld", kopecks / 100, kopecks % 100);
  return b;
}

// A pack line built by field name from its record table: the line's code, then every field of
// the table in order, blank where not set.
class LineBuilder {
 public:
  LineBuilder(const core::RecordLayout& layout, std::string_view code)
      : layout_(layout), values_(layout.fields.size()) {
    values_[0] = code;
  }
  void set(std::string_view name, std::string_view value) {
    std::size_t i = layout_.index(name);
    if (i == core::RecordLayout::npos) throw std::logic_error("no field " + std::string(name));
    values_[i] = value;
  }
  void append_to(std::string& out) const {
    out += values_[0];
    for (std::size_t i = 1; i < values_.size(); ++i) field(out, values_[i]);
    out += "\r\n";
  }

 private:
  const core::RecordLayout& layout_;
  std::vector<std::string> values_;
};

}  // namespace

std::span<const PackGenerator::KindWriter> PackGenerator::writers() {
  using G = PackGenerator;
  // The ПАЧК lines after ОПИСЬ.
  constexpr std::string_view kStatement = "12.02.2011,1,2010,НР,,,,,4,2010,2416000.00,38500.00,628160.00,0";
  constexpr std::string_view kPayments = "14.02.2011,1,2010,НР,,,,,4,2010,0,0,0,0,0";
  constexpr std::string_view kConversion = "21.03.2011,1,2011,НР,,,ИСХД,,1,2011,0,0,0,0,0";
  constexpr std::string_view kOldRecords = "18.01.2002,1,,,,,,,4,2001,131400.00,2150.00";
  constexpr std::string_view kSzv41 = "14.02.2011,1,2010,НР,,,ИСХД,,4,2010,0,0,50540.00,15162.00,0";
  constexpr std::string_view kSzv42 = "15.02.2011,1,2010,НР,,,ИСХД,КОРР,4,2010,0,0,4680.00,1404.00,0";
  // clang-format off
  static constexpr KindWriter kWriters[] = {
      // procedure     one document  personnel  ПАЧК         documents
      {"load_adv1",  false,        true,      {},          &G::adv1},
      {"load_adv2",  false,        true,      {},          &G::adv2},
      {"load_adv3",  false,        true,      {},          &G::adv3},
      {"load_adv8",  false,        true,      {},          &G::adv8},
      {"load_adv10", false,        false,     kStatement,  &G::adv10},
      {"load_adv11", true,         false,     kPayments,   &G::adv11},
      {"load_szv_k", false,        false,     kConversion, &G::szvk},
      {"load_szi_3", false,        false,     {},          &G::szi3},
      {"load_szi_5", false,        false,     {},          &G::szi5},
      {"load_ecpd",  false,        false,     {},          &G::ecpd},
      {"load_szv1",  false,        false,     kOldRecords, &G::szv1},
      {"load_szv3",  false,        false,     kOldRecords, &G::szv3},
      {"load_szv41", false,        false,     kSzv41,      &G::szv41},
      {"load_szv42", false,        false,     kSzv42,      &G::szv42},
  };
  // clang-format on
  return kWriters;
}

const PackGenerator::KindWriter& PackGenerator::writer(std::string_view procedure) {
  for (const auto& w : writers())
    if (w.procedure == procedure) return w;
  throw std::logic_error("the pack generator has no writer for " + std::string(procedure));
}

std::span<const KindInfo> all_kinds() {
  static const std::vector<KindInfo> kinds = [] {
    std::vector<KindInfo> out;
    for (const auto& row : app::document_kinds()) {
      const auto& w = PackGenerator::writer(row.procedure);
      std::string_view stem = row.procedure;
      stem.remove_prefix(std::min(stem.find('_') + 1, stem.size()));
      out.push_back({row.procedure, std::string(stem), runtime::ansi_to_utf8(row.code), w.one_document});
    }
    return out;
  }();
  return kinds;
}

const KindInfo& kind_info(std::string_view procedure) {
  for (const auto& k : all_kinds())
    if (k.procedure == procedure) return k;
  throw std::logic_error("no kind with the procedure " + std::string(procedure));
}

std::string to_oem(std::string_view utf8) { return runtime::ansi_to_oem(runtime::utf8_to_ansi(utf8)); }

std::uint64_t PackGenerator::next() {  // splitmix64
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int PackGenerator::between(int lo, int hi) {
  return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
}

std::string_view PackGenerator::pick(Pool items) { return items[next() % items.size()]; }

std::string PackGenerator::date_in(int year) { return day_of_year(between(0, 364), year); }

// An insurance number with its check number.
std::string PackGenerator::insurance_number() {
  int d[9];
  int sum = 0;
  for (int i = 0; i < 9; ++i) {
    d[i] = between(i == 0 ? 0 : 0, 9);
    sum += d[i] * (9 - i);
  }
  if (d[0] == 0 && d[1] == 0) d[1] = 2, sum += 2 * 8;
  int check = sum < 100 ? sum : sum % 101 == 100 ? 0 : sum % 101;
  char b[24];
  std::snprintf(b, sizeof b, "%d%d%d-%d%d%d-%d%d%d %02d", d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7], d[8], check);
  return b;
}

std::string PackGenerator::amount(int lo, int hi) {
  return money(static_cast<long long>(between(lo, hi)) * 100 + between(0, 99));
}

std::string PackGenerator::phone() {
  return "8-343-" + std::to_string(between(200, 399)) + "-" + two(between(0, 99)) + "-" + two(between(0, 99));
}

// index, region, district, city, settlement, street, house, building, flat
std::string PackGenerator::address() {
  const Place& p = kPlaces[next() % std::size(kPlaces)];
  std::string a = std::string(p.index) + "," + std::string(p.region) + ",," + std::string(p.city) + " г,," +
                  std::string(pick(kStreets)) + ",Д." + std::to_string(between(1, 180)) + ",";
  if (between(0, 3) == 0) a += "КОРП." + std::to_string(between(1, 4));
  a += ",КВ." + std::to_string(between(1, 240));
  return a;
}

std::string PackGenerator::foreign_address() {
  return "860,140100,Самарканд г,,,,Регистан ул," + std::to_string(between(1, 90)) + ",," +
         std::to_string(between(1, 60));
}

PackGenerator::Person PackGenerator::person() {
  Person p;
  bool male = between(0, 1) == 0;
  p.surname = std::string(pick(kMaleSurnames)) + (male ? "" : "а");
  p.name = std::string(male ? pick(kMaleNames) : pick(kFemaleNames));
  std::string_view stem = pick(kPatronymicStems);
  p.patronymic = std::string(stem) + (male ? "ич" : "на");
  if (stem.ends_with("ев") && !male) p.patronymic = std::string(stem) + "на";
  p.sex = male ? "М" : "Ж";
  p.birth = date_in(between(1940, 1992));
  return p;
}

// document name, (blank), series 1, series 2, number, issue date, issuer
std::string PackGenerator::passport_fields(int year) {
  std::string out = "ПАСПОРТ РОССИИ,";
  field(out, std::to_string(between(10, 99)));
  field(out, two(between(0, 12)));
  field(out, std::to_string(between(100000, 999999)));
  field(out, date_in(year));
  field(out, pick(kIssuers));
  return out;
}

void PackGenerator::header(std::string& out, const PackShape& shape, const KindWriter& writer) {
  out += writer.personnel ? "ЗГЛВ,\"П4.10\",\"АРМ-Кадры\",2.1\r\n" : "ЗГЛВ,\"П4.10\",\"АРМ-Бухгалтер\",3.2\r\n";
  int office = between(1, 99);
  out += "ИСТ4,ВЗЛ,075-0" + two(office) + "-" + std::to_string(between(100000, 999999));
  field(out, "66" + two(office) + std::to_string(between(100000, 999999)));
  field(out, "66" + two(office) + "01001");
  field(out, pick(kInsurers));
  out += "\r\n";
  ++pack_number_;
  out += "ПАЧК," + std::to_string(pack_number_) + ",ВНЕШ,ОПИСЬ,";
  if (writer.pack.empty())
    out += date_in(2011) + ",1";
  else
    out += writer.pack;
  out += "\r\nДОКТ," + kind_info(shape.kind).doc_type + "," + std::to_string(shape.documents) + "\r\n";
}

// The period lines of one person (СЗВ-1, СЗВ-3, СЗВ-4-1): `count` periods splitting the year,
// each with its additional lines.
void PackGenerator::work_periods(std::string& out, const PackShape& shape, int count, int year, bool szv41) {
  const int days = 365;
  for (int i = 1; i <= count; ++i) {
    int from = (i - 1) * days / count, to = i * days / count - 1;
    int extra = shape.exact ? shape.max_additional : between(0, shape.max_additional);
    LineBuilder period(earnings::STG1_LINE, "СТАЖ");
    period.set("N_PERIOD", std::to_string(i));
    period.set("PERIOD_N", day_of_year(from, year));
    period.set("PERIOD_K", day_of_year(to, year));
    switch (between(0, 5)) {
      case 0:  // special conditions
        period.set("USL_TR", pick(kConditions));
        period.set("KPS", pick(kPositions));
        break;
      case 1:  // hour form
        period.set("SO", "ВОДОЛАЗ");
        period.set("SO1", std::to_string(between(10, 99)));
        period.set("SO2", std::to_string(between(0, 59)));
        break;
      case 2:  // calendar long service
        period.set("VLET", "ЛЕТИСП");
        period.set("VL1", std::to_string(between(10, 500)));
        period.set("VL2", two(between(0, 59)));
        period.set("VL3", "0.00");
        break;
      default:
        break;
    }
    if (between(0, 2) == 0) {
      period.set("TER_US", pick(kTerritory));
      period.set("TER_KOEF", "1.5");
    }
    period.set("KOL_LGOT", extra > 0 ? std::to_string(extra) : std::string(szv41 ? "0" : ""));
    period.append_to(out);
    for (int j = 1; j <= extra; ++j) {
      LineBuilder line(earnings::LGT1, "ЛЬГТ");
      line.set("N_LGT", std::to_string(j));
      if (between(0, 1) == 0) {
        line.set("SO", pick(kLeave));
        line.set("SO1", "0");
        line.set("SO2", std::to_string(between(1, 28)));
      } else {
        line.set("USL_TR", pick(kConditions));
        line.set("KPS", pick(kPositions));
      }
      if (between(0, 3) == 0) {
        line.set("TER_US", "РКС");
        line.set("TER_KOEF", "1.5");
      }
      line.append_to(out);
    }
  }
}

void PackGenerator::document(std::string& out, const PackShape& shape, const KindWriter& writer, int n) {
  const std::string num = std::to_string(n);
  Person p = person();
  (this->*writer.document)(out, shape, num, p);
}

void PackGenerator::adv1(std::string& out, const PackShape&, const std::string& num, const Person& p) {
  out += "АНКТ," + num + "," + date_in(2011);
  field(out, p.surname), field(out, p.name), field(out, p.patronymic), field(out, p.sex);
  if (between(0, 9) == 0) {  // a date of birth known only by its year
    out += ",ОСОБАЯ,,00," + two(between(1, 12)) + "," + std::to_string(between(1940, 1992)) + ",ОСОБОЕ";
    out += ",Самарканд,,,Узбекистан,УЗБЕКИСТАН,ВИД НА ЖИТЕЛЬСТВО,Вид на жительство,,82,";
    out += std::to_string(between(1000000, 9999999)) + "," + date_in(2010) + ",УФМС по Свердловской обл";
    field(out, address());
    field(out, foreign_address());
    out += ",";
  } else {
    out += ",СТАНДАРТ," + p.birth + ",,,,СТАНДАРТ";
    const Place& pl = kPlaces[next() % std::size(kPlaces)];
    field(out, pl.city), out += ",", field(out, pl.region), out += ",РФ,РОССИЯ,";
    out += passport_fields(between(2000, 2010));
    std::string a = address();
    field(out, a);
    field(out, between(0, 1) ? a : std::string());
    field(out, between(0, 2) ? phone() : std::string());
  }
  out += "\r\n";
}

void PackGenerator::adv2(std::string& out, const PackShape&, const std::string& num, const Person& p) {
  out += "ОБМН," + num + "," + date_in(2011) + "," + insurance_number();
  field(out, p.surname), field(out, p.name), field(out, p.patronymic);
  field(out, between(0, 1) ? std::string(pick(kMaleSurnames)) + (p.sex == "Ж" ? "а" : "") : std::string());
  out += ",,,,,,,,,,,,,,,";
  out += between(0, 3) == 0 ? ",ОТМН," : ",,";
  out += passport_fields(2011);
  field(out, between(0, 1) ? address() : std::string());
  out += ",";
  field(out, between(0, 1) ? phone() : std::string());
  out += "\r\n";
}

void PackGenerator::adv3(std::string& out, const PackShape&, const std::string& num, const Person& p) {
  out += "ДУБЛ," + num + "," + date_in(2011);
  field(out, p.surname), field(out, p.name), field(out, p.patronymic), field(out, p.sex);
  out += ",СТАНДАРТ," + p.birth + ",,,,СТАНДАРТ";
  const Place& pl = kPlaces[next() % std::size(kPlaces)];
  field(out, pl.city), out += ",", field(out, pl.region);
  out += ",РФ,,,,,,,,,,,,,,,,,,";
  out += passport_fields(between(2000, 2011));
  field(out, address()), out += ",";
  field(out, phone());
  out += "," + insurance_number() + "," + (between(0, 1) ? "РАБОТАЕТ" : "");
  out += "\r\n";
}

void PackGenerator::adv8(std::string& out, const PackShape&, const std::string& num, const Person& p) {
  out += "СМРТ," + num;
  field(out, p.surname), field(out, p.name), field(out, p.patronymic), field(out, p.sex);
  out += ",СТАНДАРТ," + date_in(between(1920, 1950)) + ",,,,СТАНДАРТ";
  const Place& pl = kPlaces[next() % std::size(kPlaces)];
  field(out, pl.city), out += ",", field(out, pl.region);
  out += ",РФ," + date_in(2011) + "," + std::to_string(between(100, 999)) + "," + date_in(2011) + ",";
  out += passport_fields(between(1998, 2005));
  field(out, address());
  out += ",Пенсионер," + insurance_number() + "," + date_in(between(1990, 2005)) + "," + date_in(2011);
  out += "\r\n";
}

void PackGenerator::adv10(std::string& out, const PackShape&, const std::string& num, const Person&) {
  int workers = between(1, 400);
  out += "СВОД," + num + "," + std::to_string(between(1, 9)) + "," + std::to_string(workers) + ",0.00," +
         std::string(between(0, 3) ? "НР" : "СХ") + ",4,2010,РУБ," + amount(100000, 3000000) + "," + amount(0, 40000) +
         "," + amount(20000, 800000) + "," + amount(20000, 800000) + ",12.02.2011,3";
  out += "\r\n";
  for (int m = 10; m <= 12; ++m)
    out += "МЕС1," + std::to_string(m) + "," + std::to_string(workers) + "," + amount(30000, 1000000) + "," +
           amount(0, 15000) + "," + (between(0, 4) ? "" : "Р") + "," + amount(8000, 260000) + "," +
           amount(8000, 260000) + "\r\n";
}

void PackGenerator::adv11(std::string& out, const PackShape&, const std::string& num, const Person&) {
  out += "ВУПЛ," + num + ",2010,31.12.2010,4," + std::to_string(between(1, 400)) +
         ",НР,,М,1932800.00,144960.00,0,8200.00,1600.00,0,1925000.00,143560.00,0,16000.00,3000.00,0,14.02.2011,1,2,"
         "1\r\n";
  out += "ДОЛГ,2009," + amount(0, 9000) + "," + amount(0, 2000) + ",0\r\n";
  out += "УПЛ1,2009," + amount(0, 9000) + "," + amount(0, 2000) + ",0\r\n";
  out += "УПЛ1,2010," + amount(100000, 2000000) + "," + amount(10000, 150000) + ",0\r\n";
  out += "ОСТ1,2010," + amount(0, 20000) + "," + amount(0, 3000) + ",0\r\n";
}

void PackGenerator::szvk(std::string& out, const PackShape& shape, const std::string& num, const Person& p) {
  int works = shape.exact ? shape.max_work_records : between(1, shape.max_work_records);
  int ter = between(0, 1), cond = between(0, 1), longs = between(0, 1);
  out += "КОНВ," + num + ",ИСХД," + insurance_number();
  field(out, p.surname), field(out, p.name), field(out, p.patronymic);
  out += ",СТАНДАРТ," + date_in(between(1940, 1960)) + ",,,";
  out += ter ? ",РКС,1.5" : ",,0.00";
  out += "," + std::to_string(between(5, 40)) + "," + std::to_string(between(0, 11)) + "," +
         std::to_string(between(0, 29)) + "," + date_in(2011) + "," + std::to_string(works) + "," +
         std::to_string(ter) + "," + std::to_string(cond) + "," + std::to_string(longs) + "\r\n";
  int year = between(1960, 1975);
  for (int w = 1; w <= works; ++w) {
    int periods = shape.exact ? shape.max_periods : between(1, shape.max_periods);
    std::string_view kind = pick(kWorkKinds);
    out += "РАБ1," + std::to_string(w);
    field(out, kind == "РАБОТА" ? std::string(pick(kOrganisations)) : std::string());
    out += "," + std::string(kind) + "," + std::to_string(periods) + "\r\n";
    for (int k = 1; k <= periods; ++k) {
      int to = std::min(year + between(0, 6), 2001);
      int extra = shape.exact ? shape.max_additional : between(0, shape.max_additional);
      LineBuilder period(statements::STG1_LINE, "ПСТЖ");
      period.set("N_PERIOD", std::to_string(k));
      period.set("PERIOD_N", "01.01." + std::to_string(year));
      period.set("PERIOD_K", "31.12." + std::to_string(to));
      if (between(0, 2) == 0) {
        period.set("USL_TR", pick(kConditions));
        period.set("KPS", pick(kPositions));
      }
      period.set("TER_US", ter ? "РКС" : "");
      period.set("TER_KOEF", ter ? "1.5" : "0.00");
      period.set("PROF", pick(kProfessions));
      period.set("KOL_LGOT", extra ? std::to_string(extra) : std::string());
      period.append_to(out);
      for (int j = 1; j <= extra; ++j) {
        LineBuilder line(statements::LGT1, "ЛЬГТ");
        line.set("N_PERIOD", std::to_string(k));
        line.set("N_LGT", std::to_string(j));
        if (between(0, 1)) {
          line.set("SO3", pick(kLeave));
        } else {
          line.set("VLET", "ЛЕТИСП");
          line.set("VL1", std::to_string(between(10, 300)));
          line.set("VL2", "30");
          line.set("VL3", "0.00");
          line.set("PROF", pick(kProfessions));
        }
        line.set("TER_KOEF", "0.00");
        line.append_to(out);
      }
      year = std::min(to + 1, 2001);
    }
  }
  if (ter) out += "ТЕРР,1,РКС," + std::to_string(between(1, 30)) + "," + std::to_string(between(0, 11)) + ",0\r\n";
  if (cond)
    out += "ОСОБ,1," + std::string(pick(kConditions)) + "," + std::to_string(between(1, 30)) + "," +
           std::to_string(between(0, 11)) + ",0\r\n";
  if (longs) out += "ВЫСЛ,1,ЛЕТИСП," + std::to_string(between(1, 30)) + ",0,0\r\n";
}

void PackGenerator::szi3(std::string& out, const PackShape&, const std::string& num, const Person& p) {
  out += "СПВП," + num + "," + insurance_number();
  field(out, p.surname), field(out, p.name), field(out, p.patronymic);
  out += "\r\n";
}

void PackGenerator::szi5(std::string& out, const PackShape&, const std::string& num, const Person& p) {
  out += "ВПСК," + num + "," + insurance_number();
  field(out, p.surname), field(out, p.name), field(out, p.patronymic);
  out += "\r\n";
}

void PackGenerator::ecpd(std::string& out, const PackShape&, const std::string& num, const Person&) {
  out += "ЭЦПД," + num + "," + date_in(2011);
  out += "\r\n";
}

void PackGenerator::szv1(std::string& out, const PackShape& shape, const std::string& num, const Person& p) {
  old_records(out, shape, num, p, true);
}

void PackGenerator::szv3(std::string& out, const PackShape& shape, const std::string& num, const Person& p) {
  old_records(out, shape, num, p, false);
}

// СЗВ-1 and СЗВ-3: the person, the month lines and the work periods.
void PackGenerator::old_records(std::string& out, const PackShape& shape, const std::string& num, const Person& p,
                                bool szv1) {
  int periods = shape.exact ? shape.max_periods : between(1, shape.max_periods);
  long long m[3];
  long long total = 0;
  for (auto& v : m) total += (v = between(15000, 60000) * 100LL);
  out += std::string(szv1 ? "СЗВ1," : "СЗВ3,") + num + ",ИСХД," + insurance_number();
  field(out, p.surname), field(out, p.name), field(out, p.patronymic);
  out += ",4,2001";
  if (between(0, 4) == 0)
    out += ",Д-" + std::to_string(between(1, 99)) + "/2001," + date_in(2001) + ",ДОГ";
  else
    out += ",,,";
  out += szv1 ? ",НР,РУБ," : ",НР,,,";
  out += money(total * 14 / 100) + "," + (szv1 ? "0," : money(total * 14 / 100) + ",") + money(total) +
         ",0,18.01.2002,3," + std::to_string(periods) + "\r\n";
  for (int k = 0; k < 3; ++k) out += "НАЧМ," + std::to_string(10 + k) + "," + money(m[k]) + ",0\r\n";
  work_periods(out, shape, periods, 2001, false);
}

void PackGenerator::szv41(std::string& out, const PackShape& shape, const std::string& num, const Person& p) {
  int periods = shape.exact ? shape.max_periods : between(1, shape.max_periods);
  out += "СЗВ41," + num + "," + insurance_number();
  field(out, p.surname), field(out, p.name), field(out, p.patronymic);
  out += ",2010";
  field(out, "653," + address());
  out += "," + amount(5000, 90000) + "," + amount(1500, 27000) + ",0," + std::to_string(between(0, 2)) + "," +
         std::to_string(between(0, 20)) + ",0," + std::to_string(between(0, 10)) + ",14.02.2011," +
         std::to_string(periods) + "\r\n";
  work_periods(out, shape, periods, 2010, true);
}

void PackGenerator::szv42(std::string& out, const PackShape&, const std::string& num, const Person& p) {
  out += "СЗВ42," + num + "," + insurance_number();
  field(out, p.surname), field(out, p.name), field(out, p.patronymic);
  out += ",2010";
  field(out, between(0, 2) ? "653," + address() : std::string());
  out += "," + amount(500, 9000) + "," + amount(150, 2700) + ",0,";
  out += between(0, 1) ? "01.01.2010,31.03.2010" : ",";
  out += ",0," + std::to_string(between(0, 9)) + ",0,0,15.02.2011";
  out += "\r\n";
}

std::uintmax_t PackGenerator::write_pack(const std::filesystem::path& path, const PackShape& shape) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw std::runtime_error("cannot create " + path.string());
  std::uintmax_t written = 0;
  std::string lines;
  auto put = [&] {
    std::string oem = to_oem(lines);
    file.write(oem.data(), static_cast<std::streamsize>(oem.size()));
    written += oem.size();
    lines.clear();
  };
  const KindWriter& w = writer(shape.kind);
  header(lines, shape, w);
  for (int n = 1; n <= shape.documents; ++n) {
    document(lines, shape, w, n);
    if (lines.size() > (1 << 16)) put();
  }
  put();
  if (!file) throw std::runtime_error("cannot write " + path.string());
  return written;
}

}  // namespace tolvex::bench
