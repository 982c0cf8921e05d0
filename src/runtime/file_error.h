// SPDX-License-Identifier: MIT
// The runtime's numeric file error codes and their Russian texts. Every file operation of the
// converter reports one of these codes; ok (0) is success. The operating system's own errors are
// mapped to them here and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace tolvex::runtime {

// A runtime code. Its number is what the journal and the boxes print ("121 Нет места на диске");
// a function that gives one says how its file operation went, and the caller has to look.
// clang-format off (it takes the attribute of an enum for the start of an initializer)
enum class [[nodiscard]] Error : int{
    ok = 0,
    not_found = 2,
    path_not_found = 3,
    too_many_open = 4,
    access_denied = 5,
    out_of_memory = 8,
    locked = 32,
    end_of_file = 33,
    not_open = 37,
    bad_file_name = 45,
    bad_structure = 47,
    already_open = 52,
    stream_error = 97,
    // A pipe, a device or a socket where a file of lines was expected: it is never read.
    not_regular_file = 120,
    // No room on the disk for what is written: the disk full, the user's quota or the file-size
    // limit reached.
    disk_full = 121,
};
// clang-format on

// The number of a code, as the journal and the boxes print it.
constexpr int number(Error code) { return static_cast<int>(code); }

// The runtime text of a code, in Windows-1251 ("Файл не найден"); empty for an unknown code.
std::string_view error_text(Error code);

// The error description of the checked opening: text, one blank, "(", code, ")".
std::string error_description(Error code);

// Maps an errno value of the operating system to a runtime code.
Error error_from_errno(int err);

// The code of a write that put fewer bytes than asked, from errno as the write left it: no
// room on the disk (full, quota, file-size limit) is error 121, anything else error 5.
Error short_write_error();

#ifdef _WIN32
// Maps a Windows error (GetLastError) to a runtime code.
Error error_from_windows(unsigned long err);
#endif

}  // namespace tolvex::runtime
