// The one writer of the output XML: one element or tag per line, indented by the nesting depth
// `xml_depth`, values from the pack escaped so that the file stays well-formed. Lines are
// streamed to a sink as they are built; no document tree is kept. The depth is the writer's
// own: blocks and indents raise it and, when they end, lower it again.
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
  XmlWriter(const XmlWriter&) = delete;
  XmlWriter& operator=(const XmlWriter&) = delete;

  // An element with content: "<name>" at the current depth when the block begins, its content
  // one level deeper, "</name>" back at the block's depth when it ends. The name is a constant
  // of the program and outlives the block. A block left by an exception lowers the depth but
  // writes no closing line: the document it belongs to is abandoned.
  class [[nodiscard]] Block {
   public:
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    ~Block();

   private:
    friend class XmlWriter;
    Block(XmlWriter& xml, std::string_view name);
    XmlWriter* xml_;
    std::string_view name_;
    int exceptions_;  // in flight when the block began
  };

  // Content one or more levels deeper than the lines around it, with no element line of its
  // own (the sums under a sums line, the frame's lines at their fixed depths).
  class [[nodiscard]] Indent {
   public:
    Indent(const Indent&) = delete;
    Indent& operator=(const Indent&) = delete;
    ~Indent() { xml_->depth_ -= levels_; }

   private:
    friend class XmlWriter;
    Indent(XmlWriter& xml, int levels) : xml_(&xml), levels_(levels) { xml_->depth_ += levels_; }
    XmlWriter* xml_;
    int levels_;
  };

  // `auto block = xml.block("ФИО"_w);` writes "<ФИО>" and raises the depth until `block` ends.
  Block block(std::string_view name) { return Block(*this, name); }
  // `auto deeper = xml.indented();` raises the depth by `levels` (0 or more) until `deeper` ends.
  Indent indented(int levels = 1);

  // The nesting depth: the number of blanks before the next line. Only blocks and indents
  // change it, each undoing its own change, so every document ends at the depth it began at: 0.
  int xml_depth() const { return depth_; }

  // A line of `xml_depth()` blanks and a fixed text.
  void line(std::string_view text);
  // A fixed text with no indentation.
  void fixed(std::string_view text) { sink_->add_line(text); }

  // <name>value</name>, the value without its trailing blanks (leading blanks kept).
  void write_element(std::string_view name, std::string_view value);
  // <name>content</name> with the content exactly as given, trailing blanks included.
  void write_element_untrimmed(std::string_view name, std::string_view content);
  // A dd.mm.yyyy date: separators forced to points, "00.00.0000" for a date of zeros or of
  // separators only, an empty element for a blank field.
  void write_date_element(std::string_view name, std::string_view date);

  LineSink& sink() { return *sink_; }

 private:
  void open(std::string_view name);
  void close(std::string_view name);
  void begin_line();
  LineSink* sink_;
  std::string buf_;
  int depth_ = 0;
};

// The date as the date writer writes it (without trailing blanks).
std::string normalized_date(std::string_view date);

}  // namespace tolvex::core
