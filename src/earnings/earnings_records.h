// The format-4 records of the individual earnings packs: the person lines of СЗВ-1, СЗВ-3,
// СЗВ-4-1 and СЗВ-4-2, the monthly accrual lines, the work-period lines and their additional
// (privileged-conditions) lines.
#pragma once

#include "core/record.h"

namespace tolvex::earnings {

// СЗВ-1 person line.
inline constexpr core::FieldDef kSzv1Fields[] = {
    {"TYP_Z", 4},     {"NDOK_PCH", 3},  {"TYP_F", 4},     {"STR_N", 14},    {"FIO1", 40},    {"FIO2", 40},
    {"FIO3", 40},     {"KW", 1},        {"GOD", 4},       {"DOGV_N", 20},   {"DOGV_D", 10},  {"VID_VYPL", 6},
    {"KAT_ZL", 4},    {"VALUTA", 4},    {"SUM_ZAR", 15},  {"SUM_VZN", 15},  {"SUM_NACH", 15}, {"SUM_BOLN", 15},
    {"DATA_ZAP", 10}, {"KOL_NACH", 2},  {"KOL_STAG", 2}};
inline constexpr core::RecordLayout SZV1{"SZV1", kSzv1Fields};

// СЗВ-3 person line: the СЗВ-1 fields with the additional tariff after the category.
inline constexpr core::FieldDef kSzv3Fields[] = {
    {"TYP_Z", 4},     {"NDOK_PCH", 3},  {"TYP_F", 4},     {"STR_N", 14},    {"FIO1", 40},     {"FIO2", 40},
    {"FIO3", 40},     {"KW", 1},        {"GOD", 4},       {"DOGV_N", 20},   {"DOGV_D", 10},   {"VID_VYPL", 6},
    {"KAT_ZL", 4},    {"DOP_T", 4},     {"VALUTA", 4},    {"SUM_ZAR", 15},  {"SUM_VZN", 15},  {"SUM_NACH", 15},
    {"SUM_BOLN", 15}, {"DATA_ZAP", 10}, {"KOL_NACH", 2},  {"KOL_STAG", 2}};
inline constexpr core::RecordLayout SZV3{"SZV3", kSzv3Fields};

// One month of accruals; a blank TYP_Z marks a month that had no line in the pack.
inline constexpr core::FieldDef kNchmFields[] = {{"TYP_Z", 4}, {"MES_NUM", 2}, {"SUM_ZAR", 15}, {"SUM_BOLN", 15}};
inline constexpr core::RecordLayout NCHM{"NCHM", kNchmFields};

// One work period, in record order.
inline constexpr core::FieldDef kStg1Fields[] = {
    {"TYP_Z", 4}, {"N_PERIOD", 2}, {"PERIOD_N", 10}, {"PERIOD_K", 10}, {"TER_US", 3}, {"TER_KOEF", 4},
    {"USL_TR", 8}, {"KPS", 20},    {"SO", 7},        {"SO1", 2},       {"SO2", 2},    {"SO3", 9},
    {"VLET", 8},  {"VL1", 4},      {"VL2", 4},       {"VL3", 6},       {"KOL_LGOT", 2}};
inline constexpr core::RecordLayout STG1{"STG1", kStg1Fields};

// The same fields in the order of the pack line: the territorial fields come after VL3.
inline constexpr core::FieldDef kStg1LineFields[] = {
    {"TYP_Z", 4}, {"N_PERIOD", 2}, {"PERIOD_N", 10}, {"PERIOD_K", 10}, {"USL_TR", 8}, {"KPS", 20},
    {"SO", 7},    {"SO1", 2},      {"SO2", 2},       {"SO3", 9},       {"VLET", 8},   {"VL1", 4},
    {"VL2", 4},   {"VL3", 6},      {"TER_US", 3},    {"TER_KOEF", 4},  {"KOL_LGOT", 2}};
inline constexpr core::RecordLayout STG1_LINE{"STG1", kStg1LineFields};

// An additional line of a work period.
inline constexpr core::FieldDef kLgt1Fields[] = {
    {"TYP_Z", 4}, {"N_LGT", 2}, {"USL_TR", 8}, {"KPS", 20}, {"SO", 7},  {"SO1", 2},    {"SO2", 2},
    {"SO3", 9},   {"VLET", 8},  {"VL1", 4},    {"VL2", 4},  {"VL3", 6}, {"TER_US", 3}, {"TER_KOEF", 4}};
inline constexpr core::RecordLayout LGT1{"LGT1", kLgt1Fields};

// СЗВ-4-1 person line.
inline constexpr core::FieldDef kSzv41Fields[] = {
    {"TYP_Z", 4},    {"NDOK_PCH", 3},  {"STR_N", 14},    {"FIO1", 40},    {"FIO2", 40},     {"FIO3", 40},
    {"GOD_P", 4},    {"ADRES_I", 200}, {"SUM_STR", 15},  {"SUM_NAK", 15}, {"SUM_DOP", 15},  {"M_BOLN", 2},
    {"D_BOLN", 2},   {"M_OTP_BZ", 2},  {"D_OTP_BZ", 2},  {"DATA_ZAP", 10}, {"KOL_STAG", 2}};
inline constexpr core::RecordLayout SZV41{"SZV41", kSzv41Fields};

// СЗВ-4-2 person line: at most one work period in its own fields, no period lines.
inline constexpr core::FieldDef kSzv42Fields[] = {
    {"TYP_Z", 4},     {"NDOK_PCH", 3},  {"STR_N", 14},   {"FIO1", 40},     {"FIO2", 40},     {"FIO3", 40},
    {"GOD_P", 4},     {"ADRES_I", 200}, {"SUM_STR", 15}, {"SUM_NAK", 15},  {"SUM_DOP", 15},  {"PERIOD_N", 10},
    {"PERIOD_K", 10}, {"M_BOLN", 2},    {"D_BOLN", 2},   {"M_OTP_BZ", 2},  {"D_OTP_BZ", 2},  {"DATA_ZAP", 10}};
inline constexpr core::RecordLayout SZV42{"SZV42", kSzv42Fields};

static_assert(SZV1.width() == 268 && SZV1.fields.size() == 21);
static_assert(SZV3.width() == 272 && SZV3.fields.size() == 22);
static_assert(NCHM.width() == 36);
static_assert(STG1.width() == 105 && STG1_LINE.width() == 105 && STG1.fields.size() == 17);
static_assert(LGT1.width() == 83 && LGT1.fields.size() == 14);
static_assert(SZV41.width() == 410 && SZV41.fields.size() == 17);
static_assert(SZV42.width() == 428 && SZV42.fields.size() == 18);

}  // namespace tolvex::earnings
