// SPDX-License-Identifier: MIT
#include "app/insurer_entry.h"

#include <algorithm>
#include <array>

#include "core/format4/record.h"
#include "runtime/codepage.h"

namespace tolvex::app {

using namespace runtime::literals;

namespace {

constexpr std::array<std::string_view, 8> kEntries = {"OP_FORMA", "KOD_OGRN", "LIC_NUM",   "LIC_DATA",
                                                      "UCH_D_P",  "UCH_D_SN", "PODR_NAME", "PODR_KOD"};

constexpr std::string_view kNotTaken = " Введенное значение не принято."_w;

bool digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int number(std::string_view s) {
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

// dd.mm.yyyy of a day that exists.
bool calendar_date(std::string_view s) {
  if (s.size() != 10 || s[2] != '.' || s[5] != '.') return false;
  std::string_view d = s.substr(0, 2), m = s.substr(3, 2), y = s.substr(6, 4);
  if (!digits(d) || !digits(m) || !digits(y)) return false;
  int day = number(d), month = number(m), year = number(y);
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string date_error(std::string_view what) {
  return std::string(what) + std::string(" должна быть в виде дд.мм.гггг, например 15.07.2010."_w) +
         std::string(kNotTaken);
}

}  // namespace

bool is_insurer_entry(std::string_view field) {
  return std::find(kEntries.begin(), kEntries.end(), field) != kEntries.end();
}

std::optional<std::string> insurer_entry_error(std::string_view field, std::string_view value) {
  std::string_view v = core::trim_right(value);
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  if (v.empty()) return std::nullopt;
  if (field == "KOD_OGRN" && !(digits(v) && (v.size() == 13 || v.size() == 15)))
    return std::string("ОГРН - это 13 цифр (ЕГРЮЛ) или 15 цифр (ЕГРИП)."_w) + std::string(kNotTaken);
  if (field == "PODR_KOD" && !(digits(v) && v.size() <= 6))
    return std::string("Код подразделения - от 1 до 6 цифр."_w) + std::string(kNotTaken);
  if (field == "LIC_DATA" && !calendar_date(v)) return date_error("Дата лицензии"_w);
  if (field == "UCH_D_P" && !calendar_date(v)) return date_error("Дата постановки на учет"_w);
  if (field == "UCH_D_SN" && !calendar_date(v)) return date_error("Дата снятия с учета"_w);
  return std::nullopt;
}

}  // namespace tolvex::app
