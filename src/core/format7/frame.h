// SPDX-License-Identifier: MIT
// The output file and the frame around the documents: the PFR file name, the file header, the
// pack envelope with the pack inventory, and the closing lines.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/conversion/dispatch.h"
#include "core/format4/pack.h"
#include "core/format7/xml_writer.h"
#include "runtime/background_writer.h"
#include "runtime/file_error.h"
#include "runtime/staged_file.h"

namespace tolvex::core {

// The PFR name of the output file, "PFR-700-Y-<year>-ORG-<REGN>-DCK-<pack>-DPT-000000-DCK-00000.XML"
// (or with the department code). The pieces taken from the pack are made safe: a control
// character or one of / \ : * ? " < > | becomes "_", so the name never leaves its directory.
std::string output_file_name(const PackHeader& header);

// The pack number as five zero-padded digits ("00012").
std::string pack_number(const PackHeader& header);

// НомерВпачке of a document: its number in the pack (NDOK_PCH) taken as a number, plus one,
// since number 1 is the pack inventory's; written in full ("999" gives "1000").
std::string document_number(std::string_view ndok_pch);

// The frame begins and ends at depth 0: its tags stand at fixed places, and the elements between
// them at the depths the format gives them.
void write_file_header(XmlWriter& xml, std::string_view file_name, const PackHeader& header);
// The envelope line and the inventory with the kind's pack-level block. `kind` is null for an
// unknown document-type code (no ТипДокумента line then). Stores the five-digit pack number back
// into PCH:PCH_N.
void write_pack_envelope(XmlWriter& xml, PackHeader& header, const DocumentKind* kind);
void write_inventory(XmlWriter& xml, PackHeader& header, const DocumentKind* kind);
void write_file_closing(XmlWriter& xml);

// The output file OUT7. It is written as a staged file: new, under a temporary name of its own
// beside its PFR name, and renamed when it is closed complete and on the disk, so that an
// interrupted conversion never leaves a partial file under the PFR name, an earlier file of
// that name is replaced only by a whole one, and two runs never write into each other's file.
// The XML writer hands its lines over in large blocks, each written to the file at once.
class OutputFile {
 public:
  OutputFile();
  ~OutputFile();

  // Creates the temporary file for `full_name` (its directory made when missing) and opens
  // it empty. `held`: the folder a run holds for its files, made through when it is theirs.
  runtime::Error create(const std::filesystem::path& full_name, const runtime::StagingFolder* held = nullptr);
  // Whether anything has the name: a file, a folder or a link (which counts as something there:
  // it is replaced, never followed).
  static bool name_taken(const std::filesystem::path& full_name, const runtime::StagingFolder* held = nullptr);
  // Closes the file. Complete: it takes its PFR name; otherwise it is removed. Closing a file
  // that is not open succeeds.
  runtime::Error close(bool complete);
  // The two halves of closing it complete: the bytes written out and on the disk, the file
  // closed but still under its temporary name (finish); then the PFR name given (publish). A
  // failed finish removes the file. A batch finishes a pack's file as soon as it is written
  // and publishes it in its turn.
  runtime::Error finish();
  runtime::Error publish();
  // A finished file that waits for its name keeps no large buffer.
  void release_buffers();
  // Whether a large file's blocks are written by a thread of their own while the next is made
  // (on by default). Where every processor already converts a pack, that thread only waits.
  void set_write_behind(bool on) { sink_.set_write_behind(on); }
  bool is_open() const { return staged_.is_open(); }
  // Finished and waiting for its name.
  bool is_finished() const { return staged_.is_finished(); }

  XmlWriter& xml() { return xml_; }
  const std::filesystem::path& full_name() const { return full_name_; }

 private:
  // Blocks are written at once; those of a large file are written in the background while the
  // next is made, when that is on.
  class Sink : public LineSink {
   public:
    explicit Sink(runtime::StagedFile& file);
    void take(std::string_view lines) override;
    // Waits for the block being written; the first failed write, ok when none.
    runtime::Error settle();
    // For the next file.
    void reset();
    void set_write_behind(bool on);

   private:
    runtime::StagedFile* file_;
    bool write_behind_ = true;
    std::size_t written_ = 0;                    // of this file
    runtime::Error error_ = runtime::Error::ok;  // the first failed write
    std::unique_ptr<runtime::BackgroundWriter> writer_;
  };

  runtime::StagedFile staged_;
  Sink sink_;
  XmlWriter xml_;
  std::filesystem::path full_name_;
};

}  // namespace tolvex::core
