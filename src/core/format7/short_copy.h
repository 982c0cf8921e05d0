// SPDX-License-Identifier: MIT
// Copying the short pieces that lines are made of (tag names, field values, line ends) without
// a library call per piece.
#pragma once

#include <cstddef>
#include <cstring>

namespace tolvex::core {

// Copies `n` bytes from `from` to `to`; gives the end of the copy. Up to 32 bytes the copy is
// two fixed-size moves that overlap, which the compiler turns into a few register loads and
// stores; only the `n` bytes are read and written.
inline char* copy_short(char* to, const char* from, std::size_t n) {
  if (n >= 16 && n <= 32) {
    std::memcpy(to, from, 16);
    std::memcpy(to + n - 16, from + n - 16, 16);
  } else if (n >= 8 && n < 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4 && n < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n < 4) {
    for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
  } else {
    std::memcpy(to, from, n);
  }
  return to + n;
}

}  // namespace tolvex::core
