// SPDX-License-Identifier: MIT
// The Russian texts of the runtime: message-box button captions, month names, the marks of the
// day's halves. Installed before the first window opens.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/conversion/clock.h"
#include "core/conversion/operator.h"

namespace tolvex::gui {

inline constexpr const char* kShortMonths = "Янв,Фев,Мар,Апр,Май,Июн,Июл,Авг,Сен,Окт,Ноя,Дек";
inline constexpr const char* kDayHalves = "ут,вч";

// Held while the application object is made: Qt reads the system's locale (the sizes, dates
// and words of its own dialogs) from the environment then, once; it reads Russian whatever the
// program was started with. The environment and the C library's locale are given back after.
class RussianSystemLocale {
 public:
  RussianSystemLocale();
  ~RussianSystemLocale();
  RussianSystemLocale(const RussianSystemLocale&) = delete;
  RussianSystemLocale& operator=(const RussianSystemLocale&) = delete;

 private:
  std::vector<std::optional<QByteArray>> kept_;
};

// Installs the texts: the Russian locale, and Qt's Russian translations for its own dialogs
// when they are installed (false when they are not: those dialogs then speak English).
bool install_runtime_texts();

QString button_caption(core::Button b);
// "8 декабря 2026"; empty for a zero date.
QString long_date(const core::ClockTime& t);

}  // namespace tolvex::gui
