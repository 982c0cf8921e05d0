// SPDX-License-Identifier: MIT
// The runtime's numeric file error codes and their Russian texts. Every file operation of the
// converter reports one of these codes; 0 is success. The operating system's own errors are
// mapped to them here and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace tolvex::runtime {

namespace error {
inline constexpr int ok = 0;
inline constexpr int not_found = 2;
inline constexpr int path_not_found = 3;
inline constexpr int too_many_open = 4;
inline constexpr int access_denied = 5;
inline constexpr int out_of_memory = 8;
inline constexpr int locked = 32;
inline constexpr int end_of_file = 33;
inline constexpr int not_open = 37;
inline constexpr int bad_file_name = 45;
inline constexpr int bad_structure = 47;
inline constexpr int already_open = 52;
inline constexpr int stream_error = 97;
// A pipe, a device or a socket where a file of lines was expected: it is never read.
inline constexpr int not_regular_file = 120;
// No room on the disk for what is written: the disk full, the user's quota or the file-size
// limit reached.
inline constexpr int disk_full = 121;
}  // namespace error

// The runtime text of a code, in Windows-1251 ("Файл не найден"); empty for an unknown code.
std::string_view error_text(int code);

// The error description of the checked opening: text, one blank, "(", code, ")".
std::string error_description(int code);

// Maps an errno value of the operating system to a runtime code.
int error_from_errno(int err);

// The code of a write that put fewer bytes than asked, from errno as the write left it: no
// room on the disk (full, quota, file-size limit) is error 121, anything else error 5.
int short_write_error();

#ifdef _WIN32
// Maps a Windows error (GetLastError) to a runtime code.
int error_from_windows(unsigned long err);
#endif

}  // namespace tolvex::runtime
