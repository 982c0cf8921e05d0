// SPDX-License-Identifier: MIT
#include "core/conversion/clock.h"

#include <cstdio>

#include "runtime/platform.h"

namespace tolvex::core {

ClockTime SystemClock::now() {
  runtime::LocalTime t = runtime::local_time_now();
  return {t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond / 10};
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
