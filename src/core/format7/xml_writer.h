// SPDX-License-Identifier: MIT
// The one writer of the output XML: one element or tag per line, indented by the nesting depth
// `xml_depth`, values from the pack escaped so that the file stays well-formed. Each line is
// built in place at the end of one large buffer, from the tag names, the indentation and the
// escaped value, and the buffer is handed to a sink in blocks of whole lines; no document tree
// is kept. The depth is the writer's own: blocks and indents raise it and, when they end, lower
// it again.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tolvex::core {

// Where the XML lines go: blocks of whole lines, each ended by the sink's end of line. A block
// handed over stays unchanged until the next one is handed over, so a sink may write it out
// while the writer makes the next; the owner of the sink waits for it before closing the file.
class LineSink {
 public:
  // `block_size`: how many bytes the writer gathers at most before it hands them over (0: every
  // line as soon as it is whole); it starts with smaller blocks.
  LineSink(std::string_view end_of_line, std::size_t block_size) : end_of_line_(end_of_line), block_size_(block_size) {}
  virtual ~LineSink() = default;

  // Takes a block of whole lines.
  virtual void take(std::string_view lines) = 0;

  std::string_view end_of_line() const { return end_of_line_; }
  std::size_t block_size() const { return block_size_; }

 protected:
  void set_block_size(std::size_t size) { block_size_ = size; }

 public:
 private:
  std::string_view end_of_line_;
  std::size_t block_size_;
};

// Lines collected in memory, each followed by "\n" (tests, previews).
class StringSink : public LineSink {
 public:
  StringSink() : LineSink("\n", 0) {}
  void take(std::string_view lines) override { text.append(lines); }
  std::string text;
};

class XmlWriter {
 public:
  struct Buffer {
    std::unique_ptr<char[]> data;
    std::size_t capacity = 0;
  };

  explicit XmlWriter(LineSink& sink);
  XmlWriter(const XmlWriter&) = delete;
  XmlWriter& operator=(const XmlWriter&) = delete;
  // Lines not yet handed over are dropped: the owner of the file flushes a complete one.
  ~XmlWriter();

  // An element with content: "<name>" at the current depth when the block begins, its content
  // one level deeper, "</name>" back at the block's depth when it ends. The name is a constant
  // of the program and outlives the block. A block left by an exception lowers the depth but
  // writes no closing line: the document it belongs to is abandoned. (Blocks are never begun
  // while an exception is on its way, in a destructor.)
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

  // A line of `xml_depth()` blanks and a fixed text (without its trailing blanks).
  void line(std::string_view text);
  // A fixed text with no indentation (without its trailing blanks).
  void fixed(std::string_view text);

  // <name>value</name>, the value without its trailing blanks (leading blanks kept).
  void write_element(std::string_view name, std::string_view value);
  // <name>content</name> with the content exactly as given, trailing blanks included.
  void write_element_untrimmed(std::string_view name, std::string_view content);
  // A dd.mm.yyyy date: separators forced to points, "00.00.0000" for a date of zeros or of
  // separators only, an empty element for a blank field.
  void write_date_element(std::string_view name, std::string_view date);
  // <name>VALUE</name>: the value without its trailing blanks, in upper case.
  void write_upper_element(std::string_view name, std::string_view value);

  // Hands the lines written so far to the sink.
  void flush();
  // A new file: small blocks first, growing to the sink's size.
  void restart();
  // Gives back large buffers once the sink is done with every block (a finished file that
  // waits for its name), and starts again with small blocks.
  void shrink();

 private:
  // The line begins: room for the indentation and `rest` more bytes; where its text goes.
  char* begin_line(std::size_t rest);
  // The line's text ends at `end`: the end of line follows, and a full block goes to the sink.
  void end_line(char* end);
  char* reserve(std::size_t n);
  void grow(std::size_t needed);
  Buffer first_buffer() const;
  void element(std::string_view name, std::string_view content);
  void open(std::string_view name);
  void close(std::string_view name);
  void text_line(std::size_t depth, std::string_view text);

  LineSink* sink_;
  char eol_[2] = {};
  std::size_t eol_size_;
  std::size_t flush_at_;  // the size at which the lines made go to the sink
  Buffer buf_;            // the lines being made
  std::size_t size_ = 0;
  Buffer spare_;  // the block handed over last
  int depth_ = 0;
};

// The date as the date writer writes it (without trailing blanks).
std::string normalized_date(std::string_view date);

}  // namespace tolvex::core
