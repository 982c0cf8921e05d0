// SPDX-License-Identifier: MIT
// What the converters of the person documents share: one document per pack line, the
// cancellation marks, and the groups of their windows.
#pragma once

#include <string>
#include <string_view>

#include "core/conversion/converter.h"
#include "core/conversion/view.h"
#include "core/format4/record.h"
#include "core/format7/xml_writer.h"
#include "runtime/codepage.h"

namespace tolvex::person {

// Reads the next pack line into the cleared record; the end of the pack is the normal end.
core::ReadResult read_line_document(core::PackReader& pack, core::Record& record);

// The cancellation marks: "ОТМН" gives the element with "ОТМЕНЕНО", anything else nothing.
void write_cancel_mark(core::XmlWriter& xml, std::string_view element, std::string_view mark);

// The person's sex, birth date and birth place as the person documents' windows show them.
template <const core::RecordLayout& L>
void add_birth_fields(core::ViewGroup& group, const core::RecordOf<L>& r) {
  using namespace runtime::literals;
  core::add_fields(group, r,
                   {{"пол:"_w, "POL"},
                    {"тип даты рожд.:"_w, "D_ROGD_TYP"},
                    {"дата рожд.:"_w, "D_ROGD"},
                    {"день:"_w, "DAY_D_ROGD"},
                    {"месяц:"_w, "MES_D_ROGD"},
                    {"год:"_w, "GOD_D_ROGD"},
                    {"тип м.рожд.:"_w, "M_ROGD_TYP"},
                    {"нас.п."_w, "NAS_P"},
                    {"район:"_w, "RAION"},
                    {"регион:"_w, "REGION"},
                    {"страна:"_w, "STRANA"}});
}

// The group "Документ. удостоверяющий личность" of a record with the identity-document fields
// KOD_UDL, NAME_UDL, SER1, SER2, N_UDL, D_UDL, KEM_UDL.
template <const core::RecordLayout& L>
void add_identity_document_group(core::ViewPage& page, const core::RecordOf<L>& r, bool beside = false) {
  using namespace runtime::literals;
  core::add_fields(core::add_group(page, "Документ. удостоверяющий личность"_w, beside), r,
                   {{"код уд.л.:"_w, "KOD_UDL"},
                    {"наименование:"_w, "NAME_UDL"},
                    {"серия1:"_w, "SER1"},
                    {"серия2:"_w, "SER2"},
                    {"№ уд.л.:"_w, "N_UDL"},
                    {"дата выдачи"_w, "D_UDL"},
                    {"кем выдано:"_w, "KEM_UDL"}});
}

// The addresses and the telephone of a record with ADRES, ADRES_F and TELEF.
template <const core::RecordLayout& L>
void add_address_fields(core::ViewGroup& group, const core::RecordOf<L>& r) {
  using namespace runtime::literals;
  core::add_fields(group, r, {{"адрес:"_w, "ADRES"}, {"факт.адрес:"_w, "ADRES_F"}, {"телеф.:"_w, "TELEF"}});
}

}  // namespace tolvex::person
