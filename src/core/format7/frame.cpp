// SPDX-License-Identifier: MIT
#include "core/format7/frame.h"

#include <system_error>

#include "core/format7/insurer_blocks.h"
#include "runtime/codepage.h"
#include "runtime/file_error.h"
#include "runtime/files.h"

namespace tolvex::core {

using namespace runtime::literals;

namespace {

std::string safe_piece(std::string_view text) {
  std::string out(text);
  for (auto& c : out) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  }
  return out;
}

}  // namespace

std::string pack_number(const PackHeader& header) { return zero_padded(as_number(header.pch["PCH_N"]), 5); }

std::string document_number(std::string_view ndok_pch) { return std::to_string(as_number(ndok_pch) + 1); }

std::string output_file_name(const PackHeader& header) {
  std::string name = "PFR-700-Y-";
  name += safe_piece(header.pch["D_OPISI"].substr(6, 4));
  name += "-ORG-";
  name += safe_piece(header.ist4["REGN"]);
  std::string_view podr = header.ist4["PODR_KOD"];
  if (is_blank(podr)) {
    name += "-DCK-" + pack_number(header) + "-DPT-000000-DCK-00000.XML";
  } else {
    name += "-DCK-00000-DPT-" + safe_piece(podr) + "-DCK-" + pack_number(header) + ".XML";
  }
  return name;
}

void write_file_header(XmlWriter& xml, std::string_view file_name, const PackHeader& header) {
  xml.fixed(R"(<?xml version="1.0" encoding="Windows-1251" ?>)");
  xml.fixed("<ФайлПФР>"_w);
  // The header's elements stand one level in; ЗаголовокФайла itself stands at the margin.
  auto in_file = xml.indented();
  xml.write_element("ИмяФайла"_w, file_name);
  xml.fixed("<ЗаголовокФайла>"_w);
  xml.fixed(" <ВерсияФормата>07.00</ВерсияФормата>"_w);
  xml.fixed(" <ТипФайла>ВНЕШНИЙ</ТипФайла>"_w);
  {
    auto program = xml.block("ПрограммаПодготовкиДанных"_w);
    xml.write_element("НазваниеПрограммы"_w, header.zag4["IMJ_PRG"]);
    xml.write_element("Версия"_w, header.zag4["VER_PRG"]);
  }
  xml.fixed(" <ИсточникДанных>СТРАХОВАТЕЛЬ</ИсточникДанных>"_w);
  xml.fixed("</ЗаголовокФайла>"_w);
}

void write_pack_envelope(XmlWriter& xml, PackHeader& header, const DocumentKind* kind) {
  xml.fixed(R"(<ПачкаВходящихДокументов Окружение="В составе файла" Стадия="До обработки">)"_w);
  write_inventory(xml, header, kind);
}

void write_inventory(XmlWriter& xml, PackHeader& header, const DocumentKind* kind) {
  xml.fixed("<ВХОДЯЩАЯ_ОПИСЬ>"_w);
  {
    // The inventory's lines stand two levels in; its own tags stand at the margin.
    auto inside = xml.indented(2);
    xml.line("<НомерВпачке>1</НомерВпачке>"_w);
    xml.line("<ТипВходящейОписи>ОПИСЬ ПАЧКИ</ТипВходящейОписи>"_w);
    {
      auto compiler = xml.block("СоставительПачки"_w);
      write_insurer(xml, header.ist4);
    }
    {
      auto pack = xml.block("НомерПачки"_w);
      std::string number = pack_number(header);
      header.pch.set("PCH_N", number);
      xml.write_element("Основной"_w, number);
    }
    {
      auto documents = xml.block("СоставДокументов"_w);
      xml.write_element("Количество"_w, header.pch["KOL_TYP"]);
      auto present = xml.block("НаличиеДокументов"_w);
      if (kind) xml.write_element("ТипДокумента"_w, kind->inventory_type);
      xml.write_element("Количество"_w, header.dokt["KOL_DOK"]);
    }
    xml.write_date_element("ДатаСоставления"_w, header.pch["D_OPISI"]);
    if (kind && kind->pack_block) kind->pack_block(xml, header.pch);
  }
  xml.fixed("</ВХОДЯЩАЯ_ОПИСЬ>"_w);
}

void write_file_closing(XmlWriter& xml) {
  xml.fixed("</ПачкаВходящихДокументов>"_w);
  xml.fixed("</ФайлПФР>"_w);
}

// ---------------------------------------------------------------------------------------------

namespace {

// The XML goes to the file in blocks of up to 128 KB, small enough that the two buffers stay in
// the processor's cache. A large file written in the background goes in blocks of 1 MB, so that
// the hand-overs to the writing thread are few; it is a file that has come past 4 MB.
constexpr std::size_t kBlock = 128 * 1024;
constexpr std::size_t kBlockBehind = 1024 * 1024;
constexpr std::size_t kBehindAfter = 4 * 1024 * 1024;

}  // namespace

OutputFile::Sink::Sink(runtime::StagedFile& file) : LineSink("\r\n", kBlock), file_(&file) {}

void OutputFile::Sink::set_write_behind(bool on) { write_behind_ = on; }

void OutputFile::Sink::take(std::string_view lines) {
  if (error_ != runtime::Error::ok) return;
  written_ += lines.size();
  if (!write_behind_ || written_ <= kBehindAfter) {
    error_ = settle();
    if (error_ == runtime::Error::ok) error_ = file_->write(lines);
    return;
  }
  set_block_size(kBlockBehind);
  if (!writer_) writer_ = std::make_unique<runtime::BackgroundWriter>(*file_);
  writer_->write(lines);
}

runtime::Error OutputFile::Sink::settle() {
  if (writer_) {
    if (runtime::Error rc = writer_->wait(); rc != runtime::Error::ok && error_ == runtime::Error::ok) error_ = rc;
    writer_.reset();
  }
  return error_;
}

void OutputFile::Sink::reset() {
  // The file before told its failed write when it was closed: the next file starts clean.
  static_cast<void>(settle());
  error_ = runtime::Error::ok;
  written_ = 0;
  set_block_size(kBlock);
}

OutputFile::OutputFile() : sink_(staged_), xml_(sink_) {}

// A file nobody closed is given up: removed, whatever its last write did.
OutputFile::~OutputFile() { static_cast<void>(close(false)); }

runtime::Error OutputFile::create(const std::filesystem::path& full_name, const runtime::StagingFolder* held) {
  // A file still open is given up (removed) for the new one.
  static_cast<void>(close(false));
  full_name_ = full_name;
  runtime::Error rc = staged_.create(full_name, held);
  if ((rc == runtime::Error::not_found || rc == runtime::Error::path_not_found) && full_name.has_parent_path()) {
    // The output folder is made when it is missing.
    std::error_code ec;
    std::filesystem::create_directories(full_name.parent_path(), ec);
    if (ec) return runtime::error_from_errno(ec.value());
    rc = staged_.create(full_name);
  }
  if (rc == runtime::Error::ok) {
    sink_.reset();
    xml_.restart();
  }
  return rc;
}

bool OutputFile::name_taken(const std::filesystem::path& full_name, const runtime::StagingFolder* held) {
  return (held ? held->identity_at(full_name) : runtime::identity_at(full_name)).known;
}

runtime::Error OutputFile::finish() {
  if (!staged_.is_open()) return runtime::Error::not_open;
  xml_.flush();
  runtime::Error rc = sink_.settle();
  if (rc != runtime::Error::ok) {
    staged_.discard();
    return rc;
  }
  return staged_.finish();
}

runtime::Error OutputFile::publish() { return staged_.publish(); }

void OutputFile::release_buffers() { xml_.shrink(); }

runtime::Error OutputFile::close(bool complete) {
  if (!staged_.is_open() && !staged_.is_finished()) return runtime::Error::ok;
  if (complete) {
    if (staged_.is_open())
      if (runtime::Error rc = finish(); rc != runtime::Error::ok) return rc;
    return publish();
  }
  // A file given up is still written out first, so that a failing disk is told as before.
  runtime::Error rc = runtime::Error::ok;
  if (staged_.is_open()) {
    xml_.flush();
    rc = sink_.settle();
  }
  staged_.discard();
  return rc;
}

}  // namespace tolvex::core
