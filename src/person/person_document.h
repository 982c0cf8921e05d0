// What the converters of the person documents share: one document per pack line, the number of
// the document in the file, the wrapped name and address blocks, and the window fields.
#pragma once

#include <string>
#include <string_view>

#include "core/converter.h"
#include "core/record.h"
#include "core/xml_writer.h"

namespace tolvex::person {

// НомерВпачке: the document's number in the pack taken as a number, plus one (the inventory is
// number 1), in full: "999" gives "1000".
std::string document_number(std::string_view ndok_pch);

// Reads the next pack line into the cleared record; the end of the pack is the normal end.
core::ReadResult read_line_document(core::PackReader& pack, core::Record& record);

// <element> with Фамилия, Имя, Отчество inside (ФИО, ФИОизСтрахового).
void write_name_block(core::XmlWriter& xml, std::string_view element, std::string_view surname,
                      std::string_view first_name, std::string_view patronymic);

// <element> with the address inside (АдресРегистрации, АдресФактический ...).
void write_address_block(core::XmlWriter& xml, std::string_view element, std::string_view address);

// The cancellation marks: "ОТМН" gives the element with "ОТМЕНЕНО", anything else nothing.
void write_cancel_mark(core::XmlWriter& xml, std::string_view element, std::string_view mark);

// A window field: the prompt and the value without trailing blanks.
void add_field(core::ViewPage& page, std::string_view prompt, std::string_view value);
// A group caption in the window ("Документ. удостоверяющий личность"): a prompt without a value.
void add_group(core::ViewPage& page, std::string_view caption);
// The group "Документ. удостоверяющий личность" of a record with the identity-document fields
// KOD_UDL, NAME_UDL, SER1, SER2, N_UDL, D_UDL, KEM_UDL.
void add_identity_document_fields(core::ViewPage& page, const core::Record& record);

}  // namespace tolvex::person
