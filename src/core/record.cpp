#include "core/record.h"

#include <algorithm>
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

Record::Record(const RecordLayout& layout) : layout_(&layout) {
  offsets_.reserve(layout.fields.size());
  std::size_t at = 0;
  for (const auto& f : layout.fields) {
    offsets_.push_back(at);
    at += f.width;
  }
  buffer_.assign(at, ' ');
}

void Record::set(std::size_t index, std::string_view text) {
  std::size_t w = layout_->fields[index].width;
  std::size_t n = std::min(w, text.size());
  buffer_.replace(offsets_[index], n, text.substr(0, n));
  buffer_.replace(offsets_[index] + n, w - n, w - n, ' ');
}

void Record::clear() { buffer_.assign(buffer_.size(), ' '); }

}  // namespace tolvex::core
