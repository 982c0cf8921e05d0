// SPDX-License-Identifier: MIT
#include "core/format4/record.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tolvex::core {

long long as_number(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  long long v = 0;
  constexpr long long cap = std::numeric_limits<long long>::max() / 10 - 10;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    if (v < cap) v = v * 10 + (s[i] - '0');
  }
  return v;
}

std::string zero_padded(long long value, int digits) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<std::size_t>(digits) - s.size(), '0');
  return s;
}

void Record::put_padded(char* at, std::size_t width, std::string_view text) {
  std::size_t n = std::min(width, text.size());
  if (n > 0) std::memcpy(at, text.data(), n);  // an empty text may have no characters at all
  std::memset(at + n, ' ', width - n);
}

void Record::set(std::size_t index, std::string_view text) {
  put_padded(data_ + offsets_[index], layout_->fields[index].width, text);
}

void Record::clear() { std::memset(data_, ' ', size_); }

}  // namespace tolvex::core
