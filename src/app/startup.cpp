// SPDX-License-Identifier: MIT
#include "app/startup.h"

#include "core/conversion/messages.h"
#include "runtime/file_error.h"
#include "runtime/paths.h"
#include "runtime/text_file.h"

namespace tolvex::app {

using namespace runtime::literals;

std::filesystem::path journal_path(const std::filesystem::path& folder) { return folder / "Report" / "tolvex.log"; }
std::filesystem::path settings_path(const std::filesystem::path& folder) { return folder / "tolvex.ini"; }

std::filesystem::path current_folder(core::Operator& op) {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::current_path(ec);
  if (!ec) return folder;
  core::info_box(op, core::kTitleMessage,
                 std::string("Текущий каталог удалён или недоступен: программа не знает своего каталога. "
                             "Перейдите в программный каталог и запустите программу снова. Ошибка: "_w) +
                     runtime::error_description(runtime::error_from_errno(ec.value())));
  throw core::ProgramEnd(std::string("Нет текущего каталога!"_w), 3);
}

Program::Program(const std::filesystem::path& folder, core::Operator& op, core::Clock& clock,
                 core::ProgramRunner& programs, std::span<const core::DocumentKind> kinds)
    : folder_(folder), ini_(settings_path(folder)) {
  std::string program_folder = runtime::with_separator(runtime::path_to_ansi(folder));
  session_ = std::make_unique<core::Session>(ini_, journal_, op, clock, programs, kinds, program_folder);
  // A settings file that is there but cannot be read is not replaced by defaults: the
  // operator is told and the program ends, the file untouched.
  const std::string ini_shown = "tolvex.ini";
  if (ini_.read_error() != runtime::Error::ok) {
    std::string text =
        ini_.too_large()
            ? std::string("Файл настроек "_w) + ini_shown + std::string(" больше 1 Мб и не м.б. прочитан"_w)
        : ini_.not_understood()
            ? std::string("Файл настроек "_w) + ini_shown + std::string(" не м.б. прочитан: в строке "_w) +
                  std::to_string(ini_.bad_line()) +
                  std::string(
                      " не текст (файл испорчен или записан не в кодировке Windows-1251, UTF-8 или "
                      "UTF-16). Исправьте строку или сохраните файл в одной из этих кодировок; удалённый "
                      "файл программа создаст заново с настройками по умолчанию"_w)
            : std::string("Не могу прочитать файл настроек "_w) + ini_shown + std::string(". Ошибка: "_w) +
                  runtime::error_description(ini_.read_error());
    core::info_box(op, core::kTitleMessage, text);
    throw core::ProgramEnd(std::string("Ошибка чтения файла настроек!"_w), 3);
  }
  auto ini_write_failed = [&op, ini_shown](runtime::Error code) {
    core::info_box(op, core::kTitleMessage,
                   std::string("Не могу записать файл настроек "_w) + ini_shown + std::string(". Ошибка: "_w) +
                       runtime::error_description(code));
  };
  session_->load_settings();
  if (runtime::Error rc = ini_.write_error(); rc != runtime::Error::ok) {
    ini_write_failed(rc);
    throw core::ProgramEnd(std::string("Ошибка записи файла настроек!"_w), 3);
  }
  ini_.on_write_failure(ini_write_failed);

  // The journal folder is made when it is missing; only a journal that still cannot be made
  // ends the program.
  std::filesystem::path log = journal_path(folder);
  std::string shown = "Report" + std::string(runtime::separator()) + "tolvex.log";
  std::error_code ec;
  std::filesystem::create_directories(log.parent_path(), ec);
  if (ec && !std::filesystem::is_directory(log.parent_path())) {
    core::show_warning(op, core::Warning::create_failed, shown,
                       runtime::error_description(runtime::error_from_errno(ec.value())));
    throw core::ProgramEnd(std::string("Ошибка создания Файла!"_w), 3);
  }
  core::open_checked(
      op, shown, [&] { return journal_.file().open(log, true); }, [&] { return runtime::LineWriter::create(log); },
      std::string("Журнал "_w) + shown + std::string(" занят другой копией программы"_w));
  journal_.on_write_failure([&op, shown](runtime::Error code) {
    core::info_box(op, core::kTitleMessage,
                   std::string("Не могу записать журнал "_w) + shown + std::string(". Ошибка: "_w) +
                       runtime::error_description(code));
  });
  journal_.start(core::dd_mm_yyyy(session_->today));
}

bool journal_held_by_another(const std::filesystem::path& program_folder) {
  runtime::LineWriter probe;
  runtime::Error rc = probe.open(journal_path(program_folder), true);
  if (rc == runtime::Error::ok) static_cast<void>(probe.close());  // nothing was written
  return rc == runtime::Error::locked;
}

std::string journal_held_text() {
  return std::string("Журнал "_w) + "Report" + std::string(runtime::separator()) + "tolvex.log" +
         std::string(" занят другой копией программы"_w);
}

Program::~Program() {
  // An output not closed by its conversion is given up: removed, whatever its last write did.
  static_cast<void>(pack_state_.out.close(false));
  // Every line is written when it is journaled, or with its pack's lines before the pack's XML
  // takes its name; lines are still held here only when an exception ends the program in the
  // middle of a pack, and the program's end has been told then.
  static_cast<void>(journal_.file().close());
}

}  // namespace tolvex::app
