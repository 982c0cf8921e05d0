// SPDX-License-Identifier: MIT
// The one-pack conversion (odna_pch): a format-4 pack in, one format-7 XML file out. The
// batch drives it without waiting; the one-pack window drives its steps one by one.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/conversion/clock.h"
#include "core/conversion/dispatch.h"
#include "core/conversion/driver.h"
#include "core/conversion/journal.h"
#include "core/conversion/operator.h"
#include "core/conversion/programs.h"
#include "core/conversion/settings.h"
#include "core/format4/pack.h"
#include "core/format7/frame.h"
#include "runtime/files.h"
#include "runtime/staged_file.h"

namespace tolvex::core {

// What one run of conversions (a batch, the packs of one console command) reads and writes: no
// file the run reads as a pack is replaced by one of its XML files, and a PFR name the run has
// given to one pack's XML is not given to another's: the later pack is refused and its XML not
// written, so that the people of the earlier one are not lost (a later run may still replace it).
struct RunFiles {
  std::vector<runtime::FileIdentity> packs;    // what the run reads as packs, fixed before it starts
  std::map<std::string, std::string> outputs;  // the PFR full names given, with the pack of each
  // The pack whose XML already had the PFR name of the last pack refused, Windows-1251; empty when
  // none was refused. Set at the refusal, cleared by whoever reads it.
  std::string name_taken_by;
  // The output folder, held for the run when it is there as it starts: its XML files are looked
  // up, made, named and synced through it.
  runtime::StagingFolder output;

  bool is_pack(const runtime::FileIdentity& at) const;
  // In the pack's turn, before its XML takes `full_name`: false (and the refusal journaled) when
  // the run gave that name already; otherwise the name is noted as that of `pack`.
  [[nodiscard]] bool take_name(Journal& journal, const std::string& full_name, const std::string& pack);
};

// The services a run of the program is given, and the settings it holds: they live for the whole
// run, whichever pack is being converted.
struct Session {
  Session(IniStore& ini_store, Journal& journal_file, Operator& op_, Clock& clock_, ProgramRunner& programs_,
          std::span<const DocumentKind> kinds_, std::string program_folder_);

  IniStore& ini;
  Journal& journal;
  Operator& op;
  Clock& clock;
  ProgramRunner& programs;
  std::span<const DocumentKind> kinds;  // the table of document kinds
  std::string program_folder;           // the current directory at start-up with a separator, Windows-1251
  ClockTime today;                      // taken once at start-up
  Settings settings;
  RunFiles* run = nullptr;  // the run in progress, when its files are to be kept apart

  // Loads the settings, writing defaults back.
  void load_settings();
};

// The pack being converted and its output file. It is kept from one pack to the next: choosing
// the next pack journals the names of the previous pack and output file as it closes them.
struct PackState {
  PackState();

  PackHeader header;
  std::filesystem::path pack;    // the pack's full name
  std::string output_full_name;  // of the last output file, Windows-1251
  OutputFile out;
  // The row whose form name the window shows as TYP_PFR: that of the last pack whose document-type
  // code is in the table (a pack with an unknown code leaves it as it was).
  const DocumentKind* kind = nullptr;

  std::string_view typ_pfr() const { return kind ? kind->form_name : std::string_view{}; }
};

struct PackReport;

// How the conversion of a pack ended, whoever drove it (the batch, the console, the one-pack
// window: its header stage, then its "&OK").
// clang-format off (it takes the attribute of an enum for the start of an initializer)
enum class [[nodiscard]] PackOutcome{
    converted,  // the XML file was written (of the header stage: the header was read, the frame written)
    // The XML file was written with the documents the pack announces; it holds more, and those
    // are left out.
    documents_left_out,
    not_converted,  // a kind answered with a message: the XML file holds the frame only
    rejected,       // not a format-4 pack
    unreadable,     // the pack could not be opened or read (gone, no access, a read failed)
    no_output,      // the output file could not be made
    no_pack,        // no pack was named
};
// clang-format on

class OnePackConversion {
 public:
  // The steps of a pack's conversion that depend on the packs converted before it (the output of
  // the pack before closed and journaled by its name, " Зак.стар."; a new PFR name journaled as
  // created; the finished output taking its PFR name, " Закрыли в конце ") are done at once, or,
  // given a `report` that the conversion's journal lines go to, written into it for its player.
  OnePackConversion(Session& session, PackState& pack_state, PackReport* report = nullptr);
  ~OnePackConversion();

  // The batch run of one pack, in batch_mode: header, documents, closing lines; archiving is the
  // batch's. The pack is opened once and read from its first line to its last; the pack's
  // journal lines are written together, before its XML takes its name and after.
  PackOutcome convert_all_documents(const std::filesystem::path& pack);

  // --- the steps of the one-pack window ---
  // "Входная пачка": the file dialog, then the header stage. Nothing when the dialog was
  // cancelled (the procedure ends).
  [[nodiscard]] std::optional<PackOutcome> choose_pack();
  // A pack named without the dialog (dropped on the window): the header stage.
  PackOutcome take_pack(const std::filesystem::path& pack);
  // "Выходной каталог:": the folder dialog. False when cancelled (the procedure ends).
  [[nodiscard]] bool choose_output_folder();
  // The ОГРН type the window sets when the code field is left.
  static void classify_ogrn(RecordOf<IST4>& ist4);
  // "&OK", in two steps around the converter window. start_ok() converts the first document and
  // gives the run the window is to drive, or nothing when no window opens (no pack was read, the
  // kind has no converter, the run stopped at its first document). Once the run no longer waits,
  // finish_ok() writes the closing lines and starts the archiver and the XML checker; it tells
  // whether and how the XML file was written (no_pack when no pack was read).
  [[nodiscard]] DocumentRun* start_ok();
  PackOutcome finish_ok();
  // "Отмена": the closing lines and the file closed.
  void cancel();

  bool header_ready() const { return p_.out.is_open(); }
  // The documents the last run of the converter wrote.
  long long documents_written() const { return documents_written_; }
  const ClockTime& started() const { return started_; }
  long long header_hundredths() const { return header_hundredths_; }

 private:
  PackOutcome convert_held(const std::filesystem::path& pack);
  bool open_pack_stage(PackReader& pack);
  // `keep_open`: the pack stays open, positioned at its first document, for the converter.
  PackOutcome header_stage(PackReader& pack, bool keep_open = false);
  bool make_output_file(const PackReader& pack);
  // False when a document left elements open: the file is then not trusted. `pack`: the pack
  // open at its first document.
  bool run_documents(PackReader& pack);
  // Gives up an output whose documents cannot be trusted: its temporary file is removed and
  // the PFR name keeps what it had.
  void drop_output();
  // How a pack whose XML file was written ended: by its kind and the last run of the converter.
  PackOutcome written_outcome() const;
  void reject(PackReader& pack, std::string_view box_text, std::string_view journal_text);
  // A read of the pack failed (`code`): told as a pack that cannot be opened is. True.
  bool read_failed(runtime::Error code);
  // The steps that depend on the packs before (see the constructor).
  void close_previous_output();
  // The output was created under a temporary name; `existed`: something had its PFR name.
  void output_created(const std::string& full_name, bool existed);
  // The output's lines are all written: its bytes go to the disk and it takes its PFR name (or,
  // in a report, waits for it). Gives the runtime code.
  runtime::Error publish();

  Session& s_;
  PackState& p_;
  PackReport* report_;
  ClockTime started_{};
  long long header_hundredths_ = 0;
  long long documents_written_ = 0;
  bool ok_started_ = false;  // start_ok() found the output open
  std::unique_ptr<Converter> converter_;
  std::unique_ptr<DocumentRun> run_;
  bool documents_left_out_ = false;
  std::string pack_name_;  // the pack's full name in Windows-1251, taken once when it is opened
};

}  // namespace tolvex::core
