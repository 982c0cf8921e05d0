// SPDX-License-Identifier: MIT
// The format-4 records that the individual earnings packs share: the monthly accrual lines, the
// work-period lines and their additional (privileged-conditions) lines. Each form's person line
// is declared with its converter.
#pragma once

#include "core/format4/record.h"

namespace tolvex::earnings {

// One month of accruals; a blank TYP_Z marks a month that had no line in the pack.
inline constexpr core::FieldDef kNchmFields[] = {{"TYP_Z", 4}, {"MES_NUM", 2}, {"SUM_ZAR", 15}, {"SUM_BOLN", 15}};
inline constexpr core::RecordLayout NCHM{"NCHM", kNchmFields};

// One work period, in record order.
inline constexpr core::FieldDef kStg1Fields[] = {
    {"TYP_Z", 4},  {"N_PERIOD", 2}, {"PERIOD_N", 10}, {"PERIOD_K", 10}, {"TER_US", 3},  {"TER_KOEF", 4},
    {"USL_TR", 8}, {"KPS", 20},     {"SO", 7},        {"SO1", 2},       {"SO2", 2},     {"SO3", 9},
    {"VLET", 8},   {"VL1", 4},      {"VL2", 4},       {"VL3", 6},       {"KOL_LGOT", 2}};
inline constexpr core::RecordLayout STG1{"STG1", kStg1Fields};

// The same fields in the order of the pack line: the territorial fields come after VL3.
inline constexpr core::FieldDef kStg1LineFields[] = {
    {"TYP_Z", 4}, {"N_PERIOD", 2}, {"PERIOD_N", 10}, {"PERIOD_K", 10}, {"USL_TR", 8},  {"KPS", 20},
    {"SO", 7},    {"SO1", 2},      {"SO2", 2},       {"SO3", 9},       {"VLET", 8},    {"VL1", 4},
    {"VL2", 4},   {"VL3", 6},      {"TER_US", 3},    {"TER_KOEF", 4},  {"KOL_LGOT", 2}};
inline constexpr core::RecordLayout STG1_LINE{"STG1", kStg1LineFields};

// An additional line of a work period.
inline constexpr core::FieldDef kLgt1Fields[] = {{"TYP_Z", 4}, {"N_LGT", 2}, {"USL_TR", 8}, {"KPS", 20},    {"SO", 7},
                                                 {"SO1", 2},   {"SO2", 2},   {"SO3", 9},    {"VLET", 8},    {"VL1", 4},
                                                 {"VL2", 4},   {"VL3", 6},   {"TER_US", 3}, {"TER_KOEF", 4}};
inline constexpr core::RecordLayout LGT1{"LGT1", kLgt1Fields};

static_assert(NCHM.width() == 36);
static_assert(STG1.width() == 105 && STG1_LINE.width() == 105 && STG1.fields.size() == 17);
static_assert(LGT1.width() == 83 && LGT1.fields.size() == 14);

}  // namespace tolvex::earnings
