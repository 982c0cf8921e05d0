#include "core/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace tolvex::core {

ClockTime SystemClock::now() {
  auto tp = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(tp);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(tp.time_since_epoch()).count() % 1000;
  ClockTime c;
  c.year = tm.tm_year + 1900;
  c.month = tm.tm_mon + 1;
  c.day = tm.tm_mday;
  c.hour = tm.tm_hour;
  c.minute = tm.tm_min;
  c.second = tm.tm_sec;
  c.hundredths = static_cast<int>(ms / 10);
  return c;
}

std::string hh_mm_ss(const ClockTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

std::string dd_mm_yyyy(const ClockTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", t.day, t.month, t.year);
  return buf;
}

std::string yymmdd_hhmm(const ClockTime& date, const ClockTime& time) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d_%02d%02d", date.year % 100, date.month, date.day, time.hour,
                time.minute);
  return buf;
}

}  // namespace tolvex::core
