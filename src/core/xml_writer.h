// The one writer of the output XML: one element or tag per line, indented by the nesting depth
// `xml_depth`, values from the pack escaped so that the file stays well-formed. Lines are
// streamed to a sink as they are built; no document tree is kept.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text_file.h"

namespace tolvex::core {

// Where the XML lines go.
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void add_line(std::string_view line) = 0;
};

// Lines collected in memory, each followed by "\n" (tests, previews).
class StringSink : public LineSink {
 public:
  void add_line(std::string_view line) override {
    text.append(line);
    text.push_back('\n');
  }
  std::string text;
};

// Lines appended to a text-line file.
class FileSink : public LineSink {
 public:
  explicit FileSink(runtime::LineWriter& file) : file_(&file) {}
  void add_line(std::string_view line) override {
    if (int rc = file_->add(line); rc != 0 && error == 0) error = rc;
  }
  int error = 0;  // the first failed write

 private:
  runtime::LineWriter* file_;
};

// Appends `value` to `out` as XML character data: "&", "<", ">" become entities; every control
// character, and the byte 0x98 that Windows-1251 leaves undefined, becomes "?".
void append_escaped(std::string& out, std::string_view value);

class XmlWriter {
 public:
  explicit XmlWriter(LineSink& sink) : sink_(&sink) {}

  // The nesting depth: block writers raise it after their opening line and lower it before
  // their closing line; every document starts at 0.
  int xml_depth = 0;

  // A line of `xml_depth` blanks and a fixed text.
  void line(std::string_view text);
  // A fixed text with no indentation.
  void fixed(std::string_view text) { sink_->add_line(text); }

  // "<name>" at the current depth, then one level deeper.
  void open(std::string_view name);
  // One level up, then "</name>".
  void close(std::string_view name);

  // <name>value</name>, the value without its trailing blanks (leading blanks kept).
  void write_element(std::string_view name, std::string_view value);
  // <name>content</name> with the content exactly as given, trailing blanks included.
  void write_element_untrimmed(std::string_view name, std::string_view content);
  // A dd.mm.yyyy date: separators forced to points, "00.00.0000" for a date of zeros or of
  // separators only, an empty element for a blank field.
  void write_date_element(std::string_view name, std::string_view date);

  LineSink& sink() { return *sink_; }

 private:
  void begin_line();
  LineSink* sink_;
  std::string buf_;
};

// The date as the date writer writes it (without trailing blanks).
std::string normalized_date(std::string_view date);

}  // namespace tolvex::core
