// SPDX-License-Identifier: MIT
// A converter turns the documents of one kind of pack into format-7 elements. It knows its
// records, how to read one document (its lines) and how to write it; the shared driver runs it
// automatically or under the operator's buttons.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "core/conversion/dispatch.h"
#include "core/conversion/journal.h"
#include "core/conversion/operator.h"
#include "core/format4/pack.h"
#include "core/format7/xml_writer.h"
#include "runtime/codepage.h"
#include "runtime/file_error.h"

namespace tolvex::core {

// What a converter works with: the pack header, the operator and the journal. The output goes
// through the XML writer passed to write_document.
struct ConverterContext {
  const PackHeader& header;
  Operator& op;
  Journal& journal;
};

struct ReadResult {
  enum Kind {
    document,             // a whole document was read
    end_of_pack,          // no line where a document begins: the normal end
    end_inside_document,  // the pack ended inside the document's lines: it is not written
    failure,              // a read failed otherwise; `code` holds the runtime error
  };
  Kind kind = document;
  runtime::Error code = runtime::Error::ok;

  static ReadResult from_code(runtime::Error rc, bool inside_document) {
    if (rc == runtime::Error::ok) return {document, rc};
    if (rc == runtime::Error::end_of_file) return {inside_document ? end_inside_document : end_of_pack, rc};
    return {failure, rc};
  }
};

// How a kind's journal lines and buttons behave; the defaults are those of the questionnaire.
struct RunRules {
  // In the run of all documents (batch, "&OK") the counter line is written before the document
  // is read; otherwise after it is written.
  bool counter_line_before_document = false;
  // Documents converted by the next-button are journaled with plain digits, not three.
  bool next_counter_plain = false;
  // Put before the time line of the run of all documents ("Все ").
  std::string_view run_time_prefix;
  // Put after the time line of an interactive start (" читаем 1 запись").
  std::string_view first_time_suffix;
  // One document per pack: the converter journals it itself, the window has "&OK" only, and the
  // batch run writes no time line.
  bool single_document = false;
  // The caption of the next-button.
  std::string_view next_caption = runtime::literals::operator""_w<"Следующая">();
};

class Converter {
 public:
  explicit Converter(const ConverterContext& context) : ctx_(context) {}
  virtual ~Converter() = default;

  virtual std::string_view window_title() const = 0;  // the title of the converter window
  virtual std::string_view journal_text() const = 0;  // the journal's words after a document's number
  virtual RunRules rules() const { return {}; }
  // The kinds that are not converted only show their message.
  virtual bool message_only() const { return false; }

  // Reads the lines of the next document from the pack into the converter's records.
  virtual ReadResult read_document(PackReader& pack) = 0;
  // Writes the document read last; `xml.xml_depth()` is 0 before and after.
  virtual void write_document(XmlWriter& xml) = 0;

  // The current document as the converter window shows it.
  virtual std::vector<ViewPage> view_pages() const { return {}; }

  const PackHeader& header() const { return ctx_.header; }

 protected:
  Operator& op() const { return ctx_.op; }
  Journal& journal() const { return ctx_.journal; }

 private:
  ConverterContext ctx_;
};

}  // namespace tolvex::core
