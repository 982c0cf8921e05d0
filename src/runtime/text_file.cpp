// SPDX-License-Identifier: MIT
#include "runtime/text_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <new>
#include <system_error>

#include "runtime/codepage.h"
#include "runtime/file_error.h"
#include "runtime/files.h"

#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvex::runtime {

namespace {

std::string upper_ascii(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

std::string on_off(bool v) { return v ? "ON" : "OFF"; }

bool parse_int(std::string_view s, long& out) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && p == s.data() + s.size();
}

// A path that names a directory cannot be opened as a text file.
Error check_not_directory(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return Error::access_denied;
  return Error::ok;
}

}  // namespace

std::string send(LineFileSettings& s, std::string_view command) {
  std::string_view name = command;
  std::string_view value;
  bool has_value = false;
  if (auto eq = command.find('='); eq != std::string_view::npos) {
    name = command.substr(0, eq);
    value = command.substr(eq + 1);
    has_value = true;
  }
  std::string n = upper_ascii(name);
  while (!n.empty() && n.back() == ' ') n.pop_back();
  std::string v = upper_ascii(value);
  while (!v.empty() && v.front() == ' ') v.erase(v.begin());
  while (!v.empty() && v.back() == ' ') v.pop_back();
  if (n.empty()) return {};
  switch (n[0]) {
    case 'F':
      if (n != "FILEBUFFERS") return {};
      if (long k; has_value && parse_int(v, k) && k > 0)
        s.buffer_size = std::max<std::size_t>(static_cast<std::size_t>(k) * 512, s.record_length);
      return std::to_string(s.buffer_size);
    case 'Q':
      if (n != "QUICKSCAN") return {};
      if (has_value && (v == "ON" || v == "OFF")) s.quick_scan = v == "ON";
      return on_off(s.quick_scan);
    case 'E': {
      if (n != "ENDOFRECORD") return {};
      if (has_value) {
        // n,c1,...,cn: the marker becomes the n bytes with the decimal codes given.
        std::vector<long> nums;
        std::string_view rest = v;
        bool ok = true;
        while (ok) {
          auto comma = rest.find(',');
          long k;
          ok = parse_int(rest.substr(0, comma), k) && k >= 0 && k < 256;
          if (ok) nums.push_back(k);
          if (comma == std::string_view::npos) break;
          rest.remove_prefix(comma + 1);
        }
        if (ok && !nums.empty() && nums[0] == static_cast<long>(nums.size() - 1)) {
          s.end_of_record.clear();
          for (std::size_t i = 1; i < nums.size(); ++i) s.end_of_record.push_back(static_cast<char>(nums[i]));
        }
      }
      std::string out = std::to_string(s.end_of_record.size());
      for (char c : s.end_of_record) out += "," + std::to_string(static_cast<unsigned char>(c));
      return out;
    }
    case 'C':
      if (n == "CTRLZISEOF") {
        if (has_value) s.ctrl_z_is_eof = v != "OFF";
        return on_off(s.ctrl_z_is_eof);
      }
      if (n == "CLIP") {
        if (has_value && (v == "ON" || v == "OFF")) s.clip = v == "ON";
        return on_off(s.clip);
      }
      return {};
    case 'T':
      if (n != "TAB") return {};
      if (long k; has_value && parse_int(v, k)) s.tab = static_cast<int>(k);
      return std::to_string(s.tab);
    default:
      return {};
  }
}

// ---------------------------------------------------------------------------------------------
// LineReader

LineReader::LineReader(LineFileSettings settings) : settings_(std::move(settings)) {
  record_.assign(settings_.record_length, ' ');
}

// An owner that needs to know how closing went closes first; here there is nobody to tell.
LineReader::~LineReader() { static_cast<void>(close()); }

std::size_t LineReader::wanted_window() const {
  std::size_t size = std::max(settings_.buffer_size, settings_.record_length);
  // A small file is read whole into a window of its own size and no more.
  std::uint64_t whole = opened_.size + settings_.record_length + settings_.end_of_record.size() + 1;
  return whole < size ? static_cast<std::size_t>(whole) : size;
}

void LineReader::resize_window() {
  std::size_t size = wanted_window();
  if (size != window_size_) {
    // If the memory cannot be had, halve the window until it fits, down to ten bytes.
    window_.reset();
    window_size_ = 0;
    for (;;) {
      try {
        window_ = std::make_unique_for_overwrite<char[]>(size);
        window_size_ = size;
        break;
      } catch (const std::bad_alloc&) {
        if (size <= 10) throw;
        size = std::max<std::size_t>(size / 2, 10);
      }
    }
  }
  window_start_ = pos_;
  window_len_ = 0;
}

Error LineReader::open(const std::filesystem::path& path) {
  if (file_) return Error::already_open;
  // A directory is refused by the opening itself (error 5).
  opened_ = {};
  failed_ = false;
  if (Error rc = open_for_reading(path, file_, &opened_); rc != Error::ok) return rc;
  std::setvbuf(file_, nullptr, _IONBF, 0);
  pos_ = 0;
  skip_pending_ = false;
  at_eof_ = false;
  resize_window();
  return Error::ok;
}

Error LineReader::close() {
  if (!file_) return Error::ok;
  Error rc = std::fclose(file_) == 0 ? Error::ok : error_from_errno(errno);
  file_ = nullptr;
  opened_ = {};
  window_.reset();
  window_size_ = 0;
  window_len_ = 0;
  return rc;
}

Error LineReader::set_to_start() {
  if (!file_) return Error::not_open;
  skip_pending_ = false;
  // The file stands where the window ends: nothing read yet means it is at its start.
  if (window_start_ == 0 && window_len_ == 0 && !at_eof_) {
    pos_ = 0;
    return Error::ok;
  }
  if (std::fseek(file_, 0, SEEK_SET) != 0) return error_from_errno(errno);
  pos_ = 0;
  window_start_ = 0;
  window_len_ = 0;
  at_eof_ = false;
  return Error::ok;
}

bool LineReader::fill(std::size_t want) {
  if (available() >= want || at_eof_) return available() >= want;
  // Move the unread bytes to the front of the window and read on after them.
  std::size_t keep = available();
  if (keep > 0 && pos_ != window_start_) std::memmove(window_.get(), at(pos_), keep);
  window_start_ = pos_;
  window_len_ = keep;
  while (window_len_ < window_size_) {
    const std::size_t asked = window_size_ - window_len_;
    std::size_t got = read_some(file_, window_.get() + window_len_, asked, failed_);
    window_len_ += got;
    if (got < asked) {  // a short read is the end of the file, or a failure
      at_eof_ = true;
      break;
    }
  }
  return available() >= want;
}

bool LineReader::byte_at(std::size_t offset, char& c) {
  if (offset >= window_start_ + window_len_) {
    // Only called with offset == the first byte past the window or inside it.
    pos_ = offset;
    if (!fill(1)) return false;
  }
  c = *at(offset);
  return true;
}

bool LineReader::marker_at(std::size_t offset) {
  const std::string& m = settings_.end_of_record;
  if (m.empty()) return false;
  std::size_t saved = pos_;
  pos_ = offset;
  bool ok = fill(m.size()) && std::memcmp(at(offset), m.data(), m.size()) == 0;
  pos_ = saved;
  return ok;
}

Error LineReader::next() {
  if (!file_) return Error::not_open;
  unread_ = {};
  unmade_ = false;
  if (!settings_.quick_scan) {
    // Without quick scan every read goes back to the file.
    if (std::fseek(file_, static_cast<long>(pos_), SEEK_SET) != 0) return error_from_errno(errno);
    window_start_ = pos_;
    window_len_ = 0;
    at_eof_ = false;
  }
  if (failed_) return Error::stream_error;
  if (skip_pending_ && !skip_rest_of_line()) return Error::stream_error;
  const std::size_t rec_len = settings_.record_length;
  const std::string& marker = settings_.end_of_record;
  const bool ctrl_z = settings_.ctrl_z_is_eof;
  if (available() == 0 && !fill(1)) return failed_ ? Error::stream_error : Error::end_of_file;

  used_ = 0;
  if (ctrl_z && *at(pos_) == kCtrlZ) {
    blank_record_from(0);
    return Error::end_of_file;
  }

  // Fast path: the marker within the next record-length bytes, and no tab or Ctrl-Z before it.
  if (available() < rec_len + marker.size()) fill(rec_len + marker.size());
  if (next_plain()) return Error::ok;

  // Byte by byte: marker, Ctrl-Z and tab rules. A tab passes over blanks of the record.
  blank_record_from(0);
  std::size_t cur = pos_;
  std::size_t taken = 0;
  std::size_t written = 0;
  bool ended = false;
  char c;
  while (taken < rec_len && written < rec_len) {
    if (!byte_at(cur, c)) {
      ended = true;
      break;
    }
    if (c == (marker.empty() ? '\0' : marker[0]) && marker_at(cur)) {
      cur += marker.size();
      ended = true;
      break;
    }
    if (ctrl_z && c == kCtrlZ) {
      ++cur;
      ended = true;
      break;
    }
    ++cur;
    ++taken;
    if (c == '\t') {
      int tab = settings_.tab;
      if (tab == 0) continue;
      if (tab == -100) {
        record_[written++] = '\t';
      } else if (tab > 0) {
        std::size_t to = (written / static_cast<std::size_t>(tab) + 1) * static_cast<std::size_t>(tab);
        written = std::min(to, rec_len);  // the record is already blank
      } else {
        written = std::min(written + static_cast<std::size_t>(-tab), rec_len);
      }
      continue;
    }
    record_[written++] = c;
  }
  pos_ = cur;
  used_ = written;
  dirty_ = std::max(dirty_, written);
  // The record is full: the rest of the physical line is passed over when the next line is
  // asked for, so that a file judged by its first line is never read further (a huge file with
  // no line end, a sparse one).
  skip_pending_ = !ended;
  if (settings_.oem) oem_to_ansi_in_place(record_.data(), written);
  return Error::ok;
}

bool LineReader::skip_rest_of_line() {
  skip_pending_ = false;
  const std::string& marker = settings_.end_of_record;
  const bool ctrl_z = settings_.ctrl_z_is_eof;
  std::size_t cur = pos_;
  char c;
  {
    while (byte_at(cur, c)) {
      if (c == (marker.empty() ? '\0' : marker[0]) && marker_at(cur)) {
        cur += marker.size();
        break;
      }
      ++cur;
      if (ctrl_z && c == kCtrlZ) break;
      // Skip a long run quickly when the marker is not in the window.
      if (!marker.empty() && cur < window_start_ + window_len_) {
        const char* p = at(cur);
        std::size_t avail = window_start_ + window_len_ - cur;
        const void* hit = std::memchr(p, marker[0], avail);
        std::size_t n = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - p) : avail;
        if (ctrl_z) {
          if (const void* z = std::memchr(p, kCtrlZ, n)) n = static_cast<std::size_t>(static_cast<const char*>(z) - p);
        }
        cur += n;
      }
    }
  }
  pos_ = cur;
  return !failed_;
}

bool LineReader::plain_line(std::size_t& length) {
  const std::string& marker = settings_.end_of_record;
  // Eight bytes at a time are passed over while none of them is a control character, so the
  // marker must begin with one (CR LF, LF: as every text file has it).
  if (marker.empty() || static_cast<unsigned char>(marker[0]) >= 0x20) return false;
  const char* p = at(pos_);
  const std::size_t avail = available();
  const std::size_t limit = std::min(avail, settings_.record_length);
  const bool ctrl_z = settings_.ctrl_z_is_eof;
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
  std::size_t i = 0;
  for (; i + 8 <= limit; i += 8) {
    std::uint64_t x;
    std::memcpy(&x, p + i, 8);
    if ((x - 0x20 * kOnes) & ~x & kHighs) break;  // a byte below 0x20 among them
  }
  const bool two = marker.size() == 2;  // CR LF
  for (; i < limit; ++i) {
    const char c = p[i];
    if (c == marker[0] && i + marker.size() <= avail &&
        (two ? p[i + 1] == marker[1] : std::memcmp(p + i, marker.data(), marker.size()) == 0)) {
      length = i;
      return true;
    }
    if (c == '\t' || (ctrl_z && c == kCtrlZ)) return false;
  }
  return false;
}

bool LineReader::next_plain() {
  std::size_t n = 0;
  if (!plain_line(n)) return false;
  if (settings_.oem)
    oem_to_ansi_copy(at(pos_), record_.data(), n);
  else
    std::memcpy(record_.data(), at(pos_), n);
  blank_record_from(n);
  used_ = n;
  pos_ += n + settings_.end_of_record.size();
  return true;
}

bool LineReader::next_bytes(std::string_view& bytes) {
  if (!file_ || !settings_.quick_scan || failed_ || skip_pending_) return false;
  const std::size_t want = settings_.record_length + settings_.end_of_record.size();
  if (available() < want) fill(want);
  std::size_t n = 0;
  if (available() == 0 || (settings_.ctrl_z_is_eof && *at(pos_) == kCtrlZ) || !plain_line(n)) return false;
  bytes = std::string_view(at(pos_), n);
  pos_ += n + settings_.end_of_record.size();
  // The record is made from these bytes only when somebody asks for it.
  unread_ = bytes;
  unmade_ = true;
  return true;
}

void LineReader::make_record() const {
  const std::size_t n = unread_.size();
  if (settings_.oem)
    oem_to_ansi_copy(unread_.data(), record_.data(), n);
  else
    std::memcpy(record_.data(), unread_.data(), n);
  blank_record_from(n);
  used_ = n;
  unread_ = {};
  unmade_ = false;
}

void LineReader::blank_record_from(std::size_t from) const {
  if (dirty_ > from) std::memset(record_.data() + from, ' ', dirty_ - from);
  dirty_ = from;
}

std::string_view LineReader::text() const {
  if (unmade_) make_record();
  std::string_view r = std::string_view(record_).substr(0, used_);
  while (!r.empty() && r.back() == ' ') r.remove_suffix(1);
  return r;
}

std::string LineReader::send(std::string_view command) {
  std::string out = runtime::send(settings_, command);
  if (file_ && window_size_ != wanted_window()) {
    // A new window size: keep reading from the same place.
    std::fseek(file_, static_cast<long>(pos_), SEEK_SET);
    at_eof_ = false;
    resize_window();
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// LineWriter

LineWriter::LineWriter(LineFileSettings settings) : settings_(std::move(settings)) {}

// An owner that needs to know whether the last lines reached the file closes first (the journal,
// the output do); here there is nobody to tell.
LineWriter::~LineWriter() { static_cast<void>(close()); }

Error LineWriter::open(const std::filesystem::path& path, bool exclusive) {
  if (file_) return Error::already_open;
  if (Error e = check_not_directory(path); e != Error::ok) return e;
  std::FILE* f = nullptr;
  if (Error rc = open_for_update(path, exclusive, f); rc != Error::ok) return rc;
  std::setvbuf(f, nullptr, _IONBF, 0);
  adopt(f, path, true);
  return Error::ok;
}

void LineWriter::attach(std::FILE* stream, const std::filesystem::path& path) { adopt(stream, path, false); }

void LineWriter::adopt(std::FILE* f, const std::filesystem::path& path, bool owned) {
  file_ = f;
  owned_ = owned;
  path_ = path;
  first_write_ = true;
  error_ = Error::ok;
  pending_.clear();
}

Error LineWriter::create(const std::filesystem::path& path) {
  if (Error e = check_not_directory(path); e != Error::ok) return e;
  std::FILE* f = nullptr;
  if (Error rc = create_new_file(path, f, nullptr, true); rc != Error::ok) return rc;
  return std::fclose(f) == 0 ? Error::ok : error_from_errno(errno);
}

Error LineWriter::empty() {
  if (!file_) return Error::not_open;
  pending_.clear();
  std::fflush(file_);
#ifdef _WIN32
  if (_chsize_s(_fileno(file_), 0) != 0) return error_from_errno(errno);
#else
  // A file that is already empty (the output file just made) is left as it is: truncating it
  // anyway makes ext4 write the file through when it is renamed after its lines are added.
  struct stat st {};
  if (::fstat(fileno(file_), &st) != 0 || st.st_size != 0)
    if (::ftruncate(fileno(file_), 0) != 0) return error_from_errno(errno);
#endif
  std::rewind(file_);
  first_write_ = true;
  return Error::ok;
}

Error LineWriter::add(std::string_view line) {
  if (!file_) return Error::not_open;
  if (first_write_) {
    first_write_ = false;
    // Position at the end; a Ctrl-Z that ends the file is overwritten by the new line.
    if (std::fseek(file_, 0, SEEK_END) != 0) return Error::access_denied;
    long size = std::ftell(file_);
    if (size > 0 && settings_.ctrl_z_is_eof) {
      std::fseek(file_, size - 1, SEEK_SET);
      int last = std::fgetc(file_);
      std::fseek(file_, last == kCtrlZ ? size - 1 : size, SEEK_SET);
    }
  }
  if (settings_.clip)
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  std::size_t from = pending_.size();
  pending_.append(line);
  if (settings_.oem)
    for (std::size_t i = from; i < pending_.size(); ++i) pending_[i] = ansi_to_oem(pending_[i]);
  pending_.append(settings_.end_of_record);
  if (flush_each_line_ || pending_.size() >= (1u << 16)) return flush();
  return error_;
}

Error LineWriter::flush() {
  if (!file_) return Error::not_open;
  if (!pending_.empty()) {
    errno = 0;
    std::size_t put = std::fwrite(pending_.data(), 1, pending_.size(), file_);
    if (put != pending_.size()) error_ = short_write_error();
    pending_.clear();
  }
  return error_;
}

Error LineWriter::close() {
  if (!file_) return Error::ok;
  Error rc = flush();
  errno = 0;
  if (owned_) {
    if (std::fclose(file_) != 0 && rc == Error::ok) rc = short_write_error();
  } else if (std::fflush(file_) != 0 && rc == Error::ok) {
    rc = short_write_error();
  }
  file_ = nullptr;
  return rc;
}

std::string LineWriter::send(std::string_view command) { return runtime::send(settings_, command); }

}  // namespace tolvex::runtime
