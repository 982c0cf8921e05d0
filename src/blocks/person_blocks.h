// SPDX-License-Identifier: MIT
// The person data blocks that every document about one insured person carries, whichever family
// it belongs to: the full name, the birth date (a calendar date or a partly known one), the birth
// place, the identity document, and the name and address wrapped in their element. Each writer works at the caller's
// depth and leaves `xml_depth` as it found it; the values are blank-padded record fields and are written without their
// trailing blanks.
#pragma once

#include <string_view>

#include "core/format4/record.h"
#include "core/format7/xml_writer.h"

namespace tolvex::blocks {

// Фамилия and Имя always, Отчество only when the patronymic is not blank; no wrapper (the
// caller writes ФИО or ФИОизСтрахового around it).
void write_full_name(core::XmlWriter& xml, std::string_view surname, std::string_view first_name,
                     std::string_view patronymic);

// День, Месяц and Год, each always, inside the caller's wrapper block.
void write_day_month_year(core::XmlWriter& xml, std::string_view day, std::string_view month, std::string_view year);

// A partly known date: the wrapper `wrapper` at the caller's depth around День, Месяц, Год
// (ДатаРожденияОсобая, ДатаСмертиОсобая).
void write_special_date(core::XmlWriter& xml, std::string_view wrapper, std::string_view day, std::string_view month,
                        std::string_view year);

// The birth date by its kind: "СТАНДАРТ" writes the date element `element_name`, "ОСОБАЯ"
// writes the special wrapper with День, Месяц, Год, any other kind writes nothing.
// `element_name` is "ДатаРождения" (wrapper "ДатаРожденияОсобая") or "ДатаРожденияИзСтрахового"
// (wrapper "ДатаРожденияИзСтраховогоОсобая.", the full stop being part of the name).
void write_birth_date(core::XmlWriter& xml, std::string_view kind, std::string_view date, std::string_view day,
                      std::string_view month, std::string_view year, std::string_view element_name);
// The same from a record with the fields D_ROGD_TYP, D_ROGD, DAY_D_ROGD, MES_D_ROGD, GOD_D_ROGD.
template <const core::RecordLayout& L>
void write_birth_date(core::XmlWriter& xml, const core::RecordOf<L>& r, std::string_view element_name) {
  write_birth_date(xml, r["D_ROGD_TYP"], r["D_ROGD"], r["DAY_D_ROGD"], r["MES_D_ROGD"], r["GOD_D_ROGD"], element_name);
}

// The name of the special-date wrapper that goes with a birth-date element name.
std::string_view special_birth_date_element(std::string_view element_name);

// The birth-place block `block_name` ("МестоРождения", "МестоРожденияИзСтрахового"), always in
// full; the kind "СТАНДАРТ" is written as "СТАНДАРТНОЕ", every other kind as it is.
void write_birth_place(core::XmlWriter& xml, std::string_view block_name, std::string_view kind, std::string_view town,
                       std::string_view district, std::string_view region, std::string_view country);
// The same from a record with the fields M_ROGD_TYP, NAS_P, RAION, REGION, STRANA.
template <const core::RecordLayout& L>
void write_birth_place(core::XmlWriter& xml, std::string_view block_name, const core::RecordOf<L>& r) {
  write_birth_place(xml, block_name, r["M_ROGD_TYP"], r["NAS_P"], r["RAION"], r["REGION"], r["STRANA"]);
}

// УдостоверяющийДокумент with its kind and the Документ block, always in full.
void write_identity_document(core::XmlWriter& xml, std::string_view kind, std::string_view name,
                             std::string_view series_roman, std::string_view series_russian, std::string_view number,
                             std::string_view issue_date, std::string_view issued_by);
// The same from a record with the fields KOD_UDL, NAME_UDL, SER1, SER2, N_UDL, D_UDL, KEM_UDL.
template <const core::RecordLayout& L>
void write_identity_document(core::XmlWriter& xml, const core::RecordOf<L>& r) {
  write_identity_document(xml, r["KOD_UDL"], r["NAME_UDL"], r["SER1"], r["SER2"], r["N_UDL"], r["D_UDL"], r["KEM_UDL"]);
}

// <element> with Фамилия, Имя, Отчество inside (ФИО, ФИОизСтрахового).
void write_name_block(core::XmlWriter& xml, std::string_view element, std::string_view surname,
                      std::string_view first_name, std::string_view patronymic);
// The same from a record with the fields FIO1, FIO2, FIO3.
template <const core::RecordLayout& L>
void write_name_block(core::XmlWriter& xml, std::string_view element, const core::RecordOf<L>& r) {
  write_name_block(xml, element, r["FIO1"], r["FIO2"], r["FIO3"]);
}

// <element> with the address inside (АдресРегистрации, АдресФактический ...).
void write_address_block(core::XmlWriter& xml, std::string_view element, std::string_view address);

}  // namespace tolvex::blocks
