// SPDX-License-Identifier: MIT
// The pack-level blocks of the individual-record packs, written into the pack inventory after
// ДатаСоставления from the pack record PCH: ПачкаСтарыхИС for the old forms, ПачкаСЗВ4 for the
// СЗВ-4 forms. The table of document kinds names them in the rows of those kinds.
#pragma once

#include "core/format4/pack.h"
#include "core/format7/xml_writer.h"

namespace tolvex::earnings {

// ПачкаСтарыхИС: the reporting period and the pack's accrued totals.
void write_old_records_pack_block(core::XmlWriter& xml, const core::RecordOf<core::PCH>& pch);

// ПачкаСЗВ4: the settlement period, the tariff, the territorial conditions, the information type,
// the correction kind and the pack's contribution sums.
void write_szv4_pack_block(core::XmlWriter& xml, const core::RecordOf<core::PCH>& pch);

}  // namespace tolvex::earnings
