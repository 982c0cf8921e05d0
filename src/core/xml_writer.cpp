#include "core/xml_writer.h"

#include <exception>
#include <stdexcept>

#include "core/record.h"

namespace tolvex::core {

void append_escaped(std::string& out, std::string_view value) {
  for (char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default: {
        // A control character, and the one byte Windows-1251 leaves undefined, cannot stand in
        // a document that declares that code page.
        auto b = static_cast<unsigned char>(c);
        out.push_back(b < 0x20 || b == 0x98 ? '?' : c);
      }
    }
  }
}

XmlWriter::Block::Block(XmlWriter& xml, std::string_view name)
    : xml_(&xml), name_(name), exceptions_(std::uncaught_exceptions()) {
  xml_->open(name_);
}

XmlWriter::Block::~Block() {
  if (std::uncaught_exceptions() == exceptions_) {
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

void XmlWriter::begin_line() {
  buf_.clear();
  if (depth_ > 0) buf_.append(static_cast<std::size_t>(depth_), ' ');
}

void XmlWriter::line(std::string_view text) {
  begin_line();
  buf_.append(text);
  sink_->add_line(buf_);
}

void XmlWriter::open(std::string_view name) {
  begin_line();
  buf_ += '<';
  buf_.append(name);
  buf_ += '>';
  sink_->add_line(buf_);
  ++depth_;
}

void XmlWriter::close(std::string_view name) {
  --depth_;
  begin_line();
  buf_ += "</";
  buf_.append(name);
  buf_ += '>';
  sink_->add_line(buf_);
}

void XmlWriter::write_element_untrimmed(std::string_view name, std::string_view content) {
  begin_line();
  buf_ += '<';
  buf_.append(name);
  buf_ += '>';
  append_escaped(buf_, content);
  buf_ += "</";
  buf_.append(name);
  buf_ += '>';
  sink_->add_line(buf_);
}

void XmlWriter::write_element(std::string_view name, std::string_view value) {
  write_element_untrimmed(name, trim_right(value));
}

std::string normalized_date(std::string_view date) {
  std::string d(date);
  if (!is_blank(d)) {
    if (d.size() > 2) d[2] = '.';
    if (d.size() > 5) d[5] = '.';
    if (d.compare(0, 3, "0 .") == 0 || trim_right(d) == "  .  .") d = "00.00.0000";
  }
  return std::string(trim_right(d));
}

void XmlWriter::write_date_element(std::string_view name, std::string_view date) {
  write_element(name, normalized_date(date));
}

}  // namespace tolvex::core
