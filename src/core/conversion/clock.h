// SPDX-License-Identifier: MIT
// The time of day and the date as the journal and the archive names use them. The converter
// takes them from a Clock so that tests can pass a fixed one.
#pragma once

#include <string>

namespace tolvex::core {

struct ClockTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, hundredths = 0;

  // Hundredths of a second since midnight.
  long long of_day() const { return ((hour * 60LL + minute) * 60 + second) * 100 + hundredths; }
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual ClockTime now() = 0;
};

// The system clock, local time.
class SystemClock : public Clock {
 public:
  ClockTime now() override;
};

std::string hh_mm_ss(const ClockTime& t);                               // "09:05:30"
std::string dd_mm_yyyy(const ClockTime& t);                             // "08/12/2026"
std::string yymmdd_hhmm(const ClockTime& date, const ClockTime& time);  // "261208_0905"

}  // namespace tolvex::core
