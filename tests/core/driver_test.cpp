// SPDX-License-Identifier: MIT
// The converter driver with a tiny converter: one line per document, followed by as many
// subordinate lines as its third field says.
#include "core/conversion/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "converter_folder.h"

namespace fs = std::filesystem;
using namespace tolvex;
using namespace tolvex::core;
using namespace tolvex::runtime::literals;

namespace {

constexpr FieldDef kTst1Fields[] = {{"TYP_Z", 4}, {"N", 3}, {"KOL", 2}};
constexpr RecordLayout TST1{"TST1", kTst1Fields};

// The row of the tiny converter: the driver takes the procedure from it.
constexpr DocumentKind kTiny{"TINY", "TINY-1", "TINY", "load_tiny", nullptr};

class TinyConverter : public Converter {
 public:
  TinyConverter(const ConverterContext& ctx, RunRules rules, std::string_view left_open = {})
      : Converter(ctx), rules_(rules), left_open_(left_open) {}
  std::string_view window_title() const override { return "Tiny"; }
  std::string_view journal_text() const override { return " tiny"; }
  RunRules rules() const override { return rules_; }
  ReadResult read_document(PackReader& pack) override {
    if (runtime::Error rc = pack.read_record(rec_); rc != runtime::Error::ok) return ReadResult::from_code(rc, false);
    for (long long i = 0; i < as_number(rec_["KOL"]); ++i)
      if (runtime::Error rc = pack.read_line(); rc != runtime::Error::ok) return ReadResult::from_code(rc, true);
    return {};
  }
  void write_document(XmlWriter& xml) override {
    EXPECT_EQ(xml.xml_depth(), 0);
    xml.write_element("DOC", rec_["N"]);
    // A faulty converter: the element of this document is opened and kept open past its end.
    if (rec_.value("N") == left_open_) open_.reset(new XmlWriter::Block(xml.block("OPEN")));
  }
  std::vector<ViewPage> view_pages() const override {
    return {{"", {{"", {{"N", std::string(rec_.value("N"))}}}}, {}}};
  }

 private:
  RunRules rules_;
  std::string_view left_open_;
  RecordOf<TST1> rec_;
  std::unique_ptr<XmlWriter::Block> open_;
};

class DriverTest : public fakes::ConverterFolder {
 protected:
  // Runs the tiny converter over `documents` (pack lines after a four-line header).
  void run(const std::string& documents, int kol_dok, RunMode mode, RunRules rules = {},
           std::string_view left_open = {}) {
    fs::path pack = write_pack(documents);
    header_.dokt.set("KOL_DOK", std::to_string(kol_dok));
    {
      TinyConverter conv(context(), rules, left_open);
      if (mode == RunMode::batch_mode) {
        outcome_ = run_converter(conv, kTiny, pack, xml_, journal_, op_, clock_);
      } else {
        DocumentRun run(conv, kTiny, pack, xml_, journal_, op_, clock_);
        op_.drive(run);
        outcome_ = run.outcome();
      }
    }
    EXPECT_EQ(xml_.xml_depth(), 0);
  }
  // The journal so far, without CR.
  std::string journal_text() {
    std::string t = journal_lines();
    t.erase(std::remove(t.begin(), t.end(), '\r'), t.end());
    return t;
  }

  fakes::FixedClock clock_;
  StringSink sink_;
  XmlWriter xml_{sink_};
  DriverOutcome outcome_;
};

const std::string kThree = "D,1\r\nD,2\r\nD,3\r\n";

}  // namespace

TEST_F(DriverTest, BatchConvertsTheAnnouncedDocuments) {
  run(kThree, 3, RunMode::batch_mode);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n<DOC>2</DOC>\n<DOC>3</DOC>\n");
  EXPECT_EQ(journal_text(), "10:15:30\n001 tiny\n002 tiny\n003 tiny\n");
  EXPECT_TRUE(op_.log.empty());
}

TEST_F(DriverTest, BatchStopsAtKolDokOrAtTheEndOfThePack) {
  run(kThree, 2, RunMode::batch_mode);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n<DOC>2</DOC>\n");
  sink_.text.clear();
  run(kThree, 5, RunMode::batch_mode);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n<DOC>2</DOC>\n<DOC>3</DOC>\n");
  EXPECT_EQ(outcome_.documents_written, 3);
  EXPECT_EQ(outcome_.end, DocumentsEnd::done);
}

TEST_F(DriverTest, CounterLineBeforeTheDocument) {
  RunRules r;
  r.counter_line_before_document = true;
  r.run_time_prefix = "Все "_w;
  run(kThree, 5, RunMode::batch_mode, r);
  // The fourth line is journaled before the read finds the end of the pack.
  EXPECT_EQ(journal_text(), "Все 10:15:30\n001 tiny\n002 tiny\n003 tiny\n004 tiny\n");
}

TEST_F(DriverTest, InteractiveNextNextOk) {
  op_.actions = {ConverterAction::next, ConverterAction::next, ConverterAction::ok};
  run("D,1\r\nD,2\r\nD,3\r\nD,4\r\nD,5\r\n", 5, RunMode::interactive);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n<DOC>2</DOC>\n<DOC>3</DOC>\n<DOC>4</DOC>\n<DOC>5</DOC>\n");
  EXPECT_EQ(journal_text(), "10:15:30\n1 tiny\n002 tiny\n003 tiny\n10:15:30\n004 tiny\n005 tiny\n");
  EXPECT_EQ(op_.joined_log(), "window Tiny\npress next\npress next\npress ok\nclosed load_tiny\n");
  // The window showed the current document each time.
  ASSERT_GE(op_.views.size(), 3u);
  EXPECT_EQ(op_.views[0].pages[0].groups[0].fields[0].value, "1");
  EXPECT_EQ(op_.views[2].pages[0].groups[0].fields[0].value, "2");
  EXPECT_EQ(op_.views[0].next_caption, "Следующая"_w);
}

TEST_F(DriverTest, InteractiveNextGoesPastKolDokUntilThePackEnds) {
  op_.actions = {ConverterAction::next, ConverterAction::next, ConverterAction::next, ConverterAction::next};
  run(kThree, 1, RunMode::interactive);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n<DOC>2</DOC>\n<DOC>3</DOC>\n");
  EXPECT_EQ(op_.joined_log(), "window Tiny\npress next\npress next\npress next\nclosed load_tiny\n");
}

TEST_F(DriverTest, InteractiveCancelStops) {
  op_.actions = {ConverterAction::cancel};
  run(kThree, 3, RunMode::interactive);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n");
  EXPECT_EQ(journal_text(), "10:15:30\n1 tiny\n");
}

TEST_F(DriverTest, InteractiveRulesOfOtherKinds) {
  RunRules r;
  r.next_counter_plain = true;
  r.first_time_suffix = " читаем 1 запись"_w;
  r.next_caption = "Следущая"_w;
  op_.actions = {ConverterAction::next, ConverterAction::cancel};
  run(kThree, 3, RunMode::interactive, r);
  EXPECT_EQ(journal_text(), "10:15:30 читаем 1 запись\n1 tiny\n2 tiny\n");
  EXPECT_EQ(op_.views[0].next_caption, "Следущая"_w);
}

TEST_F(DriverTest, EmptyPackOpensNoWindow) {
  run("", 3, RunMode::interactive);
  EXPECT_EQ(sink_.text, "");
  EXPECT_EQ(journal_text(), "10:15:30\n");
  EXPECT_TRUE(op_.log.empty());
}

TEST_F(DriverTest, PackEndingInsideADocumentWritesNothingForIt) {
  run("D,1,1\r\nsub\r\nD,2,3\r\nsub\r\n", 5, RunMode::batch_mode);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n");
  EXPECT_EQ(journal_text(), "10:15:30\n001 tiny\nКонец пачки внутри документа 2\n");
  EXPECT_EQ(outcome_.end, DocumentsEnd::ended_inside_document);
  EXPECT_TRUE(op_.log.empty());  // batch: no box
}

TEST_F(DriverTest, PackEndingInsideADocumentWarnsInteractively) {
  op_.actions = {ConverterAction::next};
  run("D,1\r\nD,2,2\r\nx\r\n", 5, RunMode::interactive);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n");
  EXPECT_EQ(op_.joined_log(),
            "window Tiny\npress next\nbox ПРЕДУПРЕЖДЕНИЕ !!!: Конец пачки внутри документа 2\nclosed load_tiny\n");
}

TEST_F(DriverTest, SingleDocumentKind) {
  RunRules r;
  r.single_document = true;
  run(kThree, 9, RunMode::batch_mode, r);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n");
  // That kind journals its statement itself: no counter line; the documents after its one
  // are told as left out.
  EXPECT_EQ(journal_text(),
            "Сконвертировано документов: 1; остальные строки пачки не конвертированы (документов в "
            "пачке указано: 9)\n");
  EXPECT_EQ(outcome_.end, DocumentsEnd::documents_left_out);
  sink_.text.clear();
  op_.actions = {ConverterAction::next};  // whatever is pressed, the window only closes
  run(kThree, 9, RunMode::interactive, r);
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n");
  EXPECT_EQ(op_.views[0].next_caption, "");
  EXPECT_EQ(op_.joined_log(), "window Tiny\npress next\nclosed load_tiny\n");
  // Closing its window by the frame is "&OK", its only button; elsewhere it is "Отмена".
  TinyConverter conv(context(), r);
  DocumentRun single(conv, kTiny, write_pack(kThree), xml_, journal_, op_, clock_);
  EXPECT_EQ(single.frame_closing(), ConverterAction::ok);
  TinyConverter other(context(), {});
  DocumentRun run(other, kTiny, write_pack(kThree), xml_, journal_, op_, clock_);
  EXPECT_EQ(run.frame_closing(), ConverterAction::cancel);
}

TEST_F(DriverTest, CountersBeyondThreeDigitsAndOneByte) {
  std::string docs;
  for (int i = 1; i <= 1001; ++i) docs += "D," + std::to_string(i % 1000) + "\r\n";
  run(docs, 999, RunMode::batch_mode);  // KOL_DOK has three digits
  std::string j = journal_text();
  EXPECT_NE(j.find("\n256 tiny\n"), std::string::npos);
  EXPECT_NE(j.find("\n999 tiny\n"), std::string::npos);
  EXPECT_EQ(outcome_.documents_written, 999);
  // The next-button goes on past the announced count, and past three digits.
  sink_.text.clear();
  op_.actions.assign(1000, ConverterAction::next);
  run(docs, 999, RunMode::interactive);
  EXPECT_NE(journal_text().find("\n1000 tiny\n1001 tiny\n"), std::string::npos);
  EXPECT_EQ(outcome_.documents_written, 1001);
}

TEST_F(DriverTest, DocumentLeftOpenIsReportedAndStopsTheRun) {
  run(kThree, 3, RunMode::batch_mode, {}, "2");
  // The second document's lines are written, but it is neither counted nor followed.
  EXPECT_EQ(sink_.text, "<DOC>1</DOC>\n<DOC>2</DOC>\n<OPEN>\n</OPEN>\n");
  EXPECT_EQ(journal_text(), "10:15:30\n001 tiny\nОшибка вложенности XML в документе 2: глубина 1\n");
  EXPECT_EQ(op_.joined_log(), "box Stop: Ошибка вложенности XML в документе 2: глубина 1\n");
  EXPECT_EQ(outcome_.end, DocumentsEnd::unbalanced_document);
  EXPECT_EQ(outcome_.documents_written, 1);
  // Abort in the stop box ends the program, as for every stop box.
  op_.answers = {Button::abort};
  EXPECT_THROW(run(kThree, 3, RunMode::batch_mode, {}, "1"), ProgramEnd);
}

TEST_F(DriverTest, PackDeletedBeforeTheConverterEndsTheProgram) {
  TinyConverter conv(context(), {});
  EXPECT_THROW(static_cast<void>(run_converter(conv, kTiny, dir / "gone", xml_, journal_, op_, clock_)), ProgramEnd);
  ASSERT_EQ(op_.log.size(), 1u);
  EXPECT_NE(op_.log[0].find(" Ошибка создания Файла: Ошибка: (Файл не найден (2)) создания "), std::string::npos);
}

#ifdef __linux__
// A pack that opens but cannot be read when the converter passes over its header again (here a
// file of the kernel that is regular but refuses every read) is told, not taken for an empty one.
TEST_F(DriverTest, HeaderUnreadableAgainIsTold) {
  TinyConverter conv(context(), {});
  DriverOutcome out = run_converter(conv, kTiny, "/proc/self/mem", xml_, journal_, op_, clock_);
  EXPECT_EQ(out.end, DocumentsEnd::read_failed);
  EXPECT_EQ(journal_text(), "Не могу прочитать пачку Ошибка потока (97)\n");
  EXPECT_EQ(op_.joined_log(), "box Stop: Не могу прочитать пачку Ошибка потока (97)\n");
}
#endif
