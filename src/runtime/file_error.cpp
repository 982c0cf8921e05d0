// SPDX-License-Identifier: MIT
#include "runtime/file_error.h"

#include <cerrno>
#include <utility>

#include "runtime/codepage.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tolvex::runtime {

using namespace literals;

namespace {

// The texts by number: the runtime has texts for more codes than the converter gives.
struct CodeText {
  int code;
  std::string_view text;
};

constexpr CodeText kTexts[] = {
    {2, "Файл не найден"_w},
    {3, "Путь не найден"_w},
    {4, "Слишком много открытых файлов"_w},
    {5, "Нет доступа"_w},
    {7, "Память повреждена"_w},
    {8, "Недостаточно памяти"_w},
    {30, "Запись в очереди не найдена"_w},
    {32, "Файл уже заблокирован"_w},
    {33, "Запись не доступна"_w},
    {35, "Запись не найдена"_w},
    {36, "Поврежденный файл данных"_w},
    {37, "Файл не был открыт"_w},
    {38, "Поврежденный ключевой файл"_w},
    {40, "Недопустимое повторение ключа"_w},
    {43, "Запись уже захвачена"_w},
    {45, "Некорректное имя файла"_w},
    {46, "Необходимо перестроить ключ"_w},
    {47, "Неверная структура файла"_w},
    {48, "Невозможно открыть файл транзакций"_w},
    {52, "Файл уже открыт"_w},
    {53, "Поврежденный заголовок dBase файла"_w},
    {54, "Файл не имеет атрибута CREATE"_w},
    {56, "Транзакция уже активна"_w},
    {57, "Поврежденный MEMO-файл"_w},
    {63, "Необходим монопольный доступ к файлу"_w},
    {64, "Нарушение совместного доступа"_w},
    {65, "Ошибка отката транзакции"_w},
    {73, "Отсутствует MEMO-файл"_w},
    {75, "Неверное описание типа поля"_w},
    {76, "Неверный параметр сортировки"_w},
    {77, "Индекс недоступен"_w},
    {78, "Вызов функции с неверным количеством параметров"_w},
    {79, "Тип данных не поддерживается драйвером баз данных"_w},
    {80, "Функция не поддерживается драйвером баз данных"_w},
    {81, "Неизвестная ошибка драйвера баз данных"_w},
    {88, "Длина ключа(индекса) превышает 245"_w},
    {89, "Запись была изменена другим пользователем"_w},
    {90, "Ошибка драйвера баз данных"_w},
    {91, "Logout не активен"_w},
    {92, "Выполняется Build"_w},
    {93, "Build прерван"_w},
    {94, "Превышен допустимый лимит записей"_w},
    {97, "Ошибка потока"_w},
    {100, "Ошибка триггера"_w},
    {120, "Не обычный файл"_w},
    {121, "Нет места на диске"_w},
    {800, "Неверное выражение"_w},
    {801, "Не найдена переменная"_w},
};

}  // namespace

std::string_view error_text(Error code) {
  for (const auto& t : kTexts)
    if (t.code == number(code)) return t.text;
  return {};
}

std::string error_description(Error code) {
  std::string out(error_text(code));
  out += " (";
  out += std::to_string(number(code));
  out += ')';
  return out;
}

Error error_from_errno(int err) {
  switch (err) {
    case 0:
      return Error::ok;
    case ENOENT:
      return Error::not_found;
    case ENOTDIR:
    case ELOOP:
      return Error::path_not_found;
    case EMFILE:
    case ENFILE:
      return Error::too_many_open;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
      return Error::access_denied;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return Error::disk_full;
    case ENOMEM:
      return Error::out_of_memory;
    case EWOULDBLOCK:
      return Error::locked;
    case ENAMETOOLONG:
    case EINVAL:
      return Error::bad_file_name;
    case EBADF:
      return Error::not_open;
    default:
      return Error::stream_error;
  }
}

Error short_write_error() {
  Error code = error_from_errno(errno);
  return code == Error::disk_full ? code : Error::access_denied;
}

#ifdef _WIN32
Error error_from_windows(unsigned long err) {
  switch (err) {
    case ERROR_SUCCESS:
      return Error::ok;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:  // as ENOENT: a missing folder on the way is a missing file
      return Error::not_found;
    case ERROR_CANT_RESOLVE_FILENAME:
      return Error::path_not_found;
    case ERROR_TOO_MANY_OPEN_FILES:
      return Error::too_many_open;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return Error::access_denied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
    case ERROR_NOT_ENOUGH_QUOTA:
      return Error::disk_full;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return Error::out_of_memory;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return Error::locked;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return Error::bad_file_name;
    case ERROR_INVALID_HANDLE:
      return Error::not_open;
    default:
      return Error::stream_error;
  }
}
#endif

}  // namespace tolvex::runtime
