// SPDX-License-Identifier: MIT
#include "gui/runtime_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstring>
#include <utility>

#include "app/main_form.h"

namespace tolvex::gui {

namespace {

// The kinds of files the file dialog names, which Qt's Russian translations leave in English.
class FileKindTexts : public QTranslator {
 public:
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (std::strcmp(context, "QAbstractFileIconProvider") != 0) return {};
    static const std::pair<const char*, const char*> kTexts[] = {
        {"Folder", "Папка"}, {"File", "Файл"}, {"Drive", "Диск"}, {"%1 File", "Файл %1"}, {"Shortcut", "Ярлык"}};
    for (const auto& [english, russian] : kTexts)
      if (std::strcmp(source, english) == 0) return QString::fromUtf8(russian);
    return {};
  }
};

}  // namespace

bool install_runtime_texts() {
  QLocale russian(QLocale::Russian, QLocale::Russia);
  QLocale::setDefault(russian);
  // Qt's own dialogs and context menus (file dialog, "Показать подробности...") in Russian,
  // from the translations installed with Qt.
  static QTranslator qt_texts;
  static FileKindTexts file_kinds;
  if (!qt_texts.isEmpty()) return true;
  QCoreApplication::installTranslator(&file_kinds);
  if (!qt_texts.load(russian, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  return QCoreApplication::installTranslator(&qt_texts);
}

namespace {
constexpr const char* kLocaleVariables[] = {"LC_ALL", "LC_MESSAGES", "LC_NUMERIC", "LC_TIME", "LANG"};
}  // namespace

RussianSystemLocale::RussianSystemLocale() {
  for (const char* n : kLocaleVariables) {
    kept_.push_back(qEnvironmentVariableIsSet(n) ? std::optional(qgetenv(n)) : std::nullopt);
    qputenv(n, "ru_RU.UTF-8");
  }
}

RussianSystemLocale::~RussianSystemLocale() {
  for (std::size_t i = 0; i < kept_.size(); ++i) {
    if (kept_[i])
      qputenv(kLocaleVariables[i], *kept_[i]);
    else
      qunsetenv(kLocaleVariables[i]);
  }
  std::setlocale(LC_ALL, "");  // the C library's as the program was started
}

QString button_caption(core::Button b) { return QString::fromStdString(runtime::ansi_to_utf8(app::button_caption(b))); }

QString long_date(const core::ClockTime& t) { return QString::fromStdString(runtime::ansi_to_utf8(app::long_date(t))); }

}  // namespace tolvex::gui
