// SPDX-License-Identifier: MIT
#include "core/format7/xml_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "core/format4/record.h"
#include "core/format7/short_copy.h"
#include "runtime/codepage.h"

namespace tolvex::core {

namespace {

// What a byte of a value becomes in the XML: itself, an entity, or "?" for a control character
// and for the one byte Windows-1251 leaves undefined, which cannot stand in a document that
// declares that code page.
enum Escape : unsigned char { kPlain, kAmp, kLt, kGt, kQuestion };

constexpr std::array<Escape, 256> kEscapes = [] {
  std::array<Escape, 256> t{};
  for (int b = 0; b < 0x20; ++b) t[b] = kQuestion;
  t[0x98] = kQuestion;
  t['&'] = kAmp;
  t['<'] = kLt;
  t['>'] = kGt;
  return t;
}();

// The longest text one byte of a value can become ("&amp;").
constexpr std::size_t kMaxEscaped = 5;
// Room kept free beyond a line's own bytes: for its end and for the fixed-size moves below.
constexpr std::size_t kSlack = 32;

inline char* put(char* p, std::string_view s) { return copy_short(p, s.data(), s.size()); }

// Blanks of the indentation at `p`; gives the end. The buffer always has room for 16 more.
inline char* put_blanks(char* p, std::size_t n) {
  if (n <= 16) {
    std::memcpy(p, "                ", 16);
  } else {
    std::memset(p, ' ', n);
  }
  return p + n;
}

// Appends `value` at `p` as XML character data; gives the end.
char* put_escaped(char* p, std::string_view value) {
  // Most values have nothing to escape: they are looked through without a branch per byte and
  // copied as they are.
  unsigned special = 0;
  for (char c : value) special |= kEscapes[static_cast<unsigned char>(c)];
  if (special == 0) return put(p, value);
  for (char c : value) {
    switch (kEscapes[static_cast<unsigned char>(c)]) {
      case kPlain:
        *p++ = c;
        break;
      case kAmp:
        p = put(p, "&amp;");
        break;
      case kLt:
        p = put(p, "&lt;");
        break;
      case kGt:
        p = put(p, "&gt;");
        break;
      case kQuestion:
        *p++ = '?';
        break;
    }
  }
  return p;
}

// The date writer's rules applied to a copy of the field at `d` (`n` bytes); gives its length
// without trailing blanks.
std::size_t normalize_date(char* d, std::size_t n) {
  if (is_blank(std::string_view(d, n))) return 0;
  if (n > 2) d[2] = '.';
  if (n > 5) d[5] = '.';
  std::string_view v(d, n);
  if (v.substr(0, 3) == "0 ." || trim_right(v) == "  .  .") {
    std::memcpy(d, "00.00.0000", 10);
    return 10;
  }
  return trim_right(v).size();
}

// Buffers of large files kept for the next file: every page of a fresh buffer costs the kernel a
// fault when it is first written, and a batch makes many files, on several threads.
class BufferPool {
 public:
  static constexpr std::size_t kSmall = 64 * 1024;  // smaller buffers are not kept

  // The smallest kept buffer of at least `size` bytes, or a new one.
  XmlWriter::Buffer take(std::size_t size) {
    if (size >= kSmall) {
      std::lock_guard lock(mutex_);
      auto best = kept_.end();
      for (auto it = kept_.begin(); it != kept_.end(); ++it)
        if (it->capacity >= size && (best == kept_.end() || it->capacity < best->capacity)) best = it;
      if (best != kept_.end()) {
        XmlWriter::Buffer found = std::move(*best);
        kept_bytes_ -= found.capacity;
        kept_.erase(best);
        return found;
      }
    }
    return {std::make_unique_for_overwrite<char[]>(size), size};
  }

  // Keeps a large buffer for the next file, up to 8 MB in all; the largest ones when more come.
  void give(XmlWriter::Buffer b) {
    if (!b.data || b.capacity < kSmall || b.capacity > kKeptBytes) return;
    std::lock_guard lock(mutex_);
    kept_bytes_ += b.capacity;
    kept_.push_back(std::move(b));
    while (kept_bytes_ > kKeptBytes) {
      auto smallest = std::min_element(kept_.begin(), kept_.end(),
                                       [](const auto& x, const auto& y) { return x.capacity < y.capacity; });
      kept_bytes_ -= smallest->capacity;
      kept_.erase(smallest);
    }
  }

 private:
  static constexpr std::size_t kKeptBytes = 8 * 1024 * 1024;
  std::mutex mutex_;
  std::vector<XmlWriter::Buffer> kept_;
  std::size_t kept_bytes_ = 0;
};

BufferPool& buffer_pool() {
  static BufferPool pool;
  return pool;
}

}  // namespace

XmlWriter::XmlWriter(LineSink& sink)
    : sink_(&sink), eol_size_(sink.end_of_line().size()), flush_at_(std::min(sink.block_size(), BufferPool::kSmall)) {
  // A line ends with one or two bytes (CR LF in the file, LF in memory).
  if (eol_size_ < 1 || eol_size_ > 2) throw std::invalid_argument("a line end of one or two bytes");
  std::memcpy(eol_, sink.end_of_line().data(), eol_size_);
  buf_ = first_buffer();
}

XmlWriter::Buffer XmlWriter::first_buffer() const {
  // A file's buffers come from the pool at the size of a first block and some lines, so that
  // a small file never grows one; lines collected in memory start small.
  return buffer_pool().take(sink_->block_size() == 0 ? 4096 : flush_at_ + 64 * 1024);
}

XmlWriter::~XmlWriter() {
  buffer_pool().give(std::move(buf_));
  buffer_pool().give(std::move(spare_));
}

XmlWriter::Block::Block(XmlWriter& xml, std::string_view name) : xml_(&xml), name_(name) { xml_->open(name_); }

XmlWriter::Block::~Block() {
  if (std::uncaught_exceptions() == 0) {
    xml_->close(name_);
  } else {
    --xml_->depth_;
  }
}

XmlWriter::Indent XmlWriter::indented(int levels) {
  // An indent only raises the depth: lowering it would unbalance the blocks around it.
  if (levels < 0) throw std::invalid_argument("an indent of fewer than 0 levels");
  return Indent(*this, levels);
}

void XmlWriter::flush() {
  if (size_ == 0) return;
  // The blocks grow from small to the sink's size: a small file needs no large buffer, a large
  // one goes out in few writes.
  flush_at_ = std::min(2 * flush_at_ + 1, sink_->block_size());
  sink_->take(std::string_view(buf_.data.get(), size_));
  // The sink may still be writing that block: the next lines go into the other buffer.
  std::swap(buf_, spare_);
  if (!buf_.data) buf_ = buffer_pool().take(spare_.capacity);
  size_ = 0;
}

void XmlWriter::restart() { flush_at_ = std::min(sink_->block_size(), BufferPool::kSmall); }

void XmlWriter::shrink() {
  restart();
  if (size_ == 0 && buf_.capacity > flush_at_ + 64 * 1024) {
    buffer_pool().give(std::move(buf_));
    buf_ = first_buffer();
  }
  buffer_pool().give(std::move(spare_));
  spare_ = {};
}

void XmlWriter::grow(std::size_t needed) {
  // The buffer grows as lines need it, doubling up to a block and some lines.
  Buffer bigger = buffer_pool().take(std::max(needed, std::min(2 * buf_.capacity, sink_->block_size() + 64 * 1024)));
  std::memcpy(bigger.data.get(), buf_.data.get(), size_);
  buffer_pool().give(std::move(buf_));
  buf_ = std::move(bigger);
}

inline char* XmlWriter::reserve(std::size_t n) {
  if (buf_.capacity - size_ < n) grow(size_ + n);
  return buf_.data.get() + size_;
}

inline char* XmlWriter::begin_line(std::size_t rest) {
  const auto depth = static_cast<std::size_t>(depth_);
  return put_blanks(reserve(depth + rest + kSlack), depth);
}

inline void XmlWriter::end_line(char* end) {
  std::memcpy(end, eol_, 2);
  end += eol_size_;
  size_ = static_cast<std::size_t>(end - buf_.data.get());
  if (size_ > flush_at_) flush();
}

void XmlWriter::text_line(std::size_t depth, std::string_view text) {
  // A line is written without trailing blanks: a text of blanks only leaves an empty line.
  text = trim_right(text);
  if (text.empty()) depth = 0;
  char* p = reserve(depth + text.size() + kSlack);
  end_line(put(put_blanks(p, depth), text));
}

void XmlWriter::line(std::string_view text) { text_line(static_cast<std::size_t>(depth_), text); }

void XmlWriter::fixed(std::string_view text) { text_line(0, text); }

void XmlWriter::open(std::string_view name) {
  char* p = begin_line(name.size() + 2);
  *p++ = '<';
  p = put(p, name);
  *p++ = '>';
  end_line(p);
  ++depth_;
}

void XmlWriter::close(std::string_view name) {
  --depth_;
  char* p = begin_line(name.size() + 3);
  *p++ = '<';
  *p++ = '/';
  p = put(p, name);
  *p++ = '>';
  end_line(p);
}

void XmlWriter::element(std::string_view name, std::string_view content) {
  char* p = begin_line(2 * name.size() + 5 + kMaxEscaped * content.size());
  *p++ = '<';
  p = put(p, name);
  *p++ = '>';
  p = put_escaped(p, content);
  *p++ = '<';
  *p++ = '/';
  p = put(p, name);
  *p++ = '>';
  end_line(p);
}

void XmlWriter::write_element_untrimmed(std::string_view name, std::string_view content) { element(name, content); }

void XmlWriter::write_element(std::string_view name, std::string_view value) { element(name, trim_right(value)); }

void XmlWriter::write_upper_element(std::string_view name, std::string_view value) {
  value = trim_right(value);
  char local[64];
  std::string wide;
  char* upper = local;
  if (value.size() > sizeof local) {
    wide.resize(value.size());
    upper = wide.data();
  }
  runtime::ansi_upper(value, upper);
  element(name, std::string_view(upper, value.size()));
}

std::string normalized_date(std::string_view date) {
  std::string d(date);
  d.resize(normalize_date(d.data(), d.size()));
  return d;
}

void XmlWriter::write_date_element(std::string_view name, std::string_view date) {
  // Dates are fields of ten characters; a wider one is worked on in a string of its own.
  char local[32];
  std::string wide;
  char* d = local;
  if (date.size() > sizeof local) {
    wide.assign(date);
    d = wide.data();
  } else {
    std::memcpy(local, date.data(), date.size());
  }
  element(name, std::string_view(d, normalize_date(d, date.size())));
}

}  // namespace tolvex::core
