// SPDX-License-Identifier: MIT
// The main window (Main) and the information window (Splash_Pfr) without a toolkit: their
// texts, and when the main window's buttons may open a window, when it may close, which dropped
// file it takes. The desktop programs of Linux and of Windows both draw from here.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversion/clock.h"
#include "core/conversion/operator.h"
#include "runtime/codepage.h"

namespace tolvex::app {

// The main window's caption before the date is known, the information window's heading.
inline constexpr std::string_view kProgramCaption = runtime::literals::operator""_w<
    "Конвертор пачек ПФР 4 формата в 7 формат XML">();
// "Конвертация пачек ПФР 4 формата в файл 7 формата XML Сегодня dd/mm/yyyy" (a blank for no date).
std::string main_title(const core::ClockTime& today);

// The main window's buttons, with their accelerators (&).
inline constexpr std::string_view kOnePackCaption = runtime::literals::operator""_w<
    "Конвертор &одной пачки   4 формата в одну пачку        7 формата XML">();
inline constexpr std::string_view kBatchCaption = runtime::literals::operator""_w<
    "Конвертор &ВСЕХ пачек   4 формата в каталоге IN_4 в файлы 7 формата XML в каталог OUT_7">();
inline constexpr std::string_view kSettingsCaption = runtime::literals::operator""_w<"&Настройки">();
inline constexpr std::string_view kExitCaption = runtime::literals::operator""_w<"Вы&ход">();
inline constexpr std::string_view kSplashTip = runtime::literals::operator""_w<"Информация">();
// The two reminders under the buttons.
inline constexpr std::string_view kReminders[] = {
    runtime::literals::operator""_w<"Обязательно вначале проверить пачки 4 формата программой CheckPSN !!!">(),
    runtime::literals::operator""_w<"НЕ ЗАБЫВАЙТЕ снимать с пачки ЭЦПД !!!">(),
};

// The information window: its title, how long it stays, and its lines under the heading (what
// is converted, the forms, today's date, the version).
inline constexpr std::string_view kSplashTitle = runtime::literals::operator""_w<"Информация">();
inline constexpr int kSplashCloseAfterMs = 5000;  // 500 hundredths
std::vector<std::string> splash_lines(const core::ClockTime& today);
// "8 декабря 2026"; empty for a zero date.
std::string long_date(const core::ClockTime& t);

// The captions of the message boxes' buttons, with their accelerators ("&OK", "Пре&рвать" ...).
std::string_view button_caption(core::Button b);

// What the main window does, whatever draws it: one window of its buttons at a time, none
// once the program is ending; no closing while one is open (unless ending); its position kept
// when it closes normally.
class MainForm {
 public:
  // Runs `window` (it returns when its window has closed) unless another is open or the
  // program is ending; false when it did not run.
  bool open(bool ending, const std::function<void()>& window);
  bool busy() const { return busy_; }
  bool may_close(bool ending) const { return !busy_ || ending; }
  static bool keeps_position(bool ending) { return !ending; }
  // A drag is taken while no window of the buttons is open; of the files dropped, the first
  // regular file is the pack.
  bool takes_drop() const { return !busy_; }
  static std::optional<std::filesystem::path> dropped_pack(std::span<const std::filesystem::path> files);

 private:
  bool busy_ = false;
};

}  // namespace tolvex::app
