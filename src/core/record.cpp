#include "core/record.h"

#include <array>
#include <cstdint>
#include <limits>
#include <stdexcept>

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

namespace {

// The fields found by name last, in slots chosen by the layout and by where the name is stored:
// converters ask for the same literal names document after document. A slot is trusted only
// after the field's name has been compared with the one asked for.
struct FoundField {
  const RecordLayout* layout = nullptr;
  std::size_t index = 0;
};
thread_local std::array<FoundField, 1024> found_fields;

}  // namespace

std::size_t Record::index_of(std::string_view name) const {
  auto key = reinterpret_cast<std::uintptr_t>(name.data()) ^ (reinterpret_cast<std::uintptr_t>(layout_) >> 4);
  FoundField& slot = found_fields[(key ^ (key >> 11)) % found_fields.size()];
  if (slot.layout == layout_ && layout_->fields[slot.index].name == name) return slot.index;
  // Otherwise the length and the first and last letters are compared before the whole name,
  // since most names of a layout already differ there.
  std::size_t i = RecordLayout::npos;
  if (!name.empty()) {
    const auto& fields = layout_->fields;
    for (std::size_t k = 0; k < fields.size(); ++k) {
      const std::string_view f = fields[k].name;
      if (f.size() == name.size() && f.front() == name.front() && f.back() == name.back() && f == name) {
        i = k;
        break;
      }
    }
  }
  if (i == RecordLayout::npos)
    throw std::logic_error("record " + std::string(layout_->name) + " has no field " + std::string(name));
  slot = {layout_, i};
  return i;
}

}  // namespace tolvex::core
