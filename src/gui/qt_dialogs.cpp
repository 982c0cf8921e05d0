// SPDX-License-Identifier: MIT
#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <map>

#include "gui/runtime_texts.h"
#include "gui/text.h"

namespace tolvex::gui {

QString qt_filter(std::string_view ansi_filter) {
  QString f = qs(ansi_filter);
  int bar = f.indexOf('|');
  if (bar < 0) return f;
  QString description = f.left(bar), pattern = f.mid(bar + 1);
#ifndef _WIN32
  if (pattern == "*.*") pattern = "*";
  // Programs here have no ".exe": the dialog starts on all files, the Windows filter beside.
  if (pattern == "*.exe") return QString::fromUtf8("Все файлы") + " (*);;" + description + " (" + pattern + ")";
#endif
  return description + " (" + pattern + ")";
}

std::map<QAbstractButton*, core::Button> fill_message_box(QMessageBox& mb, const core::MessageBox& box) {
  mb.setWindowTitle(qs(box.title));
  mb.setText(qs(box.text));
  mb.setIcon(box.icon == core::Icon::stop ? QMessageBox::Critical : QMessageBox::Information);
  if (!box.details.empty()) mb.setDetailedText(qs(box.details));
  std::map<QAbstractButton*, core::Button> answers;
  QPushButton *first = nullptr, *last = nullptr;
  std::vector<core::Button> buttons = box.buttons.empty() ? std::vector<core::Button>{core::Button::ok} : box.buttons;
  for (core::Button b : buttons) {
    last = mb.addButton(button_caption(b), QMessageBox::ActionRole);
    if (!first) first = last;
    answers[last] = b;
  }
  mb.setDefaultButton(first);
  mb.setEscapeButton(last);  // a box closed by its frame answers with its last button
  return answers;
}

core::Button QtDialogs::message(const core::MessageBox& box) {
  QMessageBox mb(QApplication::activeWindow());
  std::map<QAbstractButton*, core::Button> answers = fill_message_box(mb, box);
  mb.exec();
  auto it = answers.find(mb.clickedButton());
  return it == answers.end() ? (box.buttons.empty() ? core::Button::ok : box.buttons.back()) : it->second;
}

std::optional<std::filesystem::path> QtDialogs::choose_file(std::string_view title, std::string_view filter,
                                                            const std::filesystem::path& start) {
  QFileDialog dialog(QApplication::activeWindow(), qs(title), QString(), qt_filter(filter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  // At a pack: its folder with it selected; at a folder: that folder.
  QFileInfo at(qs_path(start));
  if (at.isFile()) {
    dialog.setDirectory(at.absolutePath());
    dialog.selectFile(at.fileName());
  } else {
    dialog.setDirectory(qs_path(start));
  }
  // Wide enough for the names, sizes and dates of the packs, each column as wide as its text.
  QSize room = dialog.screen()->availableGeometry().size() * 9 / 10;
  dialog.resize(
      QSize(dialog.fontMetrics().averageCharWidth() * 130, dialog.fontMetrics().height() * 32).boundedTo(room));
  if (auto* list = dialog.findChild<QTreeView*>("treeView"))
    for (int column = 1; column < list->header()->count(); ++column)
      list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return to_path(dialog.selectedFiles().front());
}

std::optional<std::filesystem::path> QtDialogs::choose_folder(std::string_view title,
                                                              const std::filesystem::path& start) {
  QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(), qs(title), qs_path(start));
  if (chosen.isEmpty()) return std::nullopt;
  return to_path(chosen);
}

}  // namespace tolvex::gui
