// SPDX-License-Identifier: MIT
#include "app/gui/runtime_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tolvex::gui {

namespace {

QStringList captions() { return QString::fromUtf8(kButtonCaptions).split(','); }

}  // namespace

bool install_runtime_texts() {
  QLocale russian(QLocale::Russian, QLocale::Russia);
  QLocale::setDefault(russian);
  // Qt's own dialogs and context menus (file dialog, "Показать подробности...") in Russian,
  // from the translations installed with Qt.
  static QTranslator qt_texts;
  if (!qt_texts.isEmpty()) return true;
  if (!qt_texts.load(russian, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  return QCoreApplication::installTranslator(&qt_texts);
}

QString button_caption(core::Button b) {
  static const QStringList list = captions();
  switch (b) {
    case core::Button::ok:
      return list[0];
    case core::Button::yes:
      return list[1];
    case core::Button::no:
      return list[2];
    case core::Button::abort:
      return list[3];
    case core::Button::retry:
      return list[4];
    case core::Button::ignore:
      return list[5];
    case core::Button::cancel:
      return list[6];
  }
  return list[0];
}

QString long_date(const core::ClockTime& t) {
  if (t.year == 0 || t.month < 1 || t.month > 12) return {};
  static const QStringList months = QString::fromUtf8(kFullMonths).split(',');
  return QString("%1 %2 %3").arg(t.day).arg(months[t.month - 1]).arg(t.year);
}

}  // namespace tolvex::gui
