// The one-pack conversion (odna_pch): a format-4 pack in, one format-7 XML file out. The
// batch drives it without waiting; the one-pack window drives its steps one by one.
#pragma once

#include <filesystem>
#include <string>

#include "core/clock.h"
#include "core/dispatch.h"
#include "core/frame.h"
#include "core/journal.h"
#include "core/operator.h"
#include "core/pack.h"
#include "core/programs.h"
#include "core/settings.h"

namespace tolvex::core {

// The values that live for a whole run of the program.
struct Session {
  Session(IniStore& ini_store, Journal& journal_file, Operator& op_, Clock& clock_, ProgramRunner& programs_,
          const DispatchTable& table_, std::string program_folder_);

  IniStore& ini;
  Journal& journal;
  Operator& op;
  Clock& clock;
  ProgramRunner& programs;
  const DispatchTable& table;
  std::string program_folder;  // the current directory at start-up with a separator, Windows-1251
  ClockTime today;             // taken once at start-up
  Settings settings;

  bool batch_mode = false;
  std::string typ_pfr;  // the form name of the pack's documents ("АДВ-1")
  PackHeader header;
  std::filesystem::path pack;   // the pack's full name
  std::string output_full_name;  // of the last output file, Windows-1251
  OutputFile out;

  // Loads the settings, writing defaults back.
  void load_settings();
};

enum class PackOutcome {
  converted,      // the XML file was written
  rejected,       // not a format-4 pack
  no_output,      // the output file could not be made
  no_pack,        // no pack was named
};

class OnePackConversion {
 public:
  explicit OnePackConversion(Session& session) : s_(session) {}

  // The batch run of one pack: header, documents, closing lines; archiving is the batch's.
  PackOutcome convert_batch(const std::filesystem::path& pack);

  // --- the steps of the one-pack window ---
  // "Входная пачка": the file dialog, then the header stage. False when the dialog was
  // cancelled (the procedure ends).
  bool choose_pack(PackOutcome* outcome = nullptr);
  // A pack named without the dialog (dropped on the window): the header stage.
  PackOutcome take_pack(const std::filesystem::path& pack);
  // "Выходной каталог:": the folder dialog. False when cancelled (the procedure ends).
  bool choose_output_folder();
  // The ОГРН type the window sets when the code field is left.
  static void classify_ogrn(Record& ist4);
  // "&OK": the documents, the closing lines, the archiver and the XML checker.
  void ok();
  // "Отмена": the closing lines and the file closed.
  void cancel();

  bool header_ready() const { return s_.out.is_open(); }
  const ClockTime& started() const { return started_; }
  long long header_hundredths() const { return header_hundredths_; }

 private:
  bool open_pack_stage(PackReader& pack);
  PackOutcome header_stage(PackReader& pack);
  bool make_output_file();
  void run_documents();
  void reject(PackReader& pack, std::string_view box_text, std::string_view journal_text);

  Session& s_;
  ClockTime started_{};
  long long header_hundredths_ = 0;
};

}  // namespace tolvex::core
