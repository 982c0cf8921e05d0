// SPDX-License-Identifier: MIT
#include "app/document_kinds.h"

#include "earnings/old_records_converter.h"
#include "earnings/pack_blocks.h"
#include "earnings/szv4_converter.h"
#include "person/adv1.h"
#include "person/adv8.h"
#include "person/applications.h"
#include "runtime/codepage.h"
#include "statements/adv10_converter.h"
#include "statements/adv11_converter.h"
#include "statements/szvk_converter.h"

namespace tolvex::app {

using namespace runtime::literals;
using core::make_message_only;
using earnings::write_old_records_pack_block;
using earnings::write_szv4_pack_block;

namespace {

// clang-format off
constexpr core::DocumentKind kKinds[] = {
    // code     form name     inventory type                    procedure     converter                       pack-level block
    {"АНКТ"_w, "АДВ-1"_w,   "АНКЕТА_ЗЛ"_w,                   "load_adv1",  &person::make_load_adv1,        nullptr},
    {"ОБМН"_w, "АДВ-2"_w,   "ЗАЯВЛЕНИЕ_ОБ_ОБМЕНЕ"_w,         "load_adv2",  &person::make_load_adv2,        nullptr},
    {"ДУБЛ"_w, "АДВ-3"_w,   "ЗАЯВЛЕНИЕ_О_ДУБЛИКАТЕ"_w,       "load_adv3",  &person::make_load_adv3,        nullptr},
    {"СМРТ"_w, "АДВ-8"_w,   "СВЕДЕНИЯ_О_СМЕРТИ"_w,           "load_adv8",  &person::make_load_adv8,        nullptr},
    {"СВОД"_w, "АДВ-10"_w,  "СВОДНАЯ_ВЕДОМОСТЬ"_w,           "load_adv10", &statements::make_load_adv10,   nullptr},
    {"ВУПЛ"_w, "АДВ-11"_w,  "ВЕДОМОСТЬ_УПЛАТЫ"_w,            "load_adv11", &statements::make_load_adv11,   nullptr},
    {"ИН20"_w, "СЗВ-1"_w,   "СТАРЫЕ_ИС_СЗВ-1"_w,             "load_szv1",  &earnings::make_load_szv1,      &write_old_records_pack_block},
    {"ИН30"_w, "СЗВ-3"_w,   "СТАРЫЕ_ИС_СЗВ-3"_w,             "load_szv3",  &earnings::make_load_szv3,      &write_old_records_pack_block},
    {"ИН41"_w, "СЗВ-4-1"_w, "ИС_СЗВ-4-1"_w,                  "load_szv41", &earnings::make_load_szv41,     &write_szv4_pack_block},
    {"ИН42"_w, "СЗВ-4-2"_w, "ИС_СЗВ-4-2"_w,                  "load_szv42", &earnings::make_load_szv42,     &write_szv4_pack_block},
    {"КОНВ"_w, "СЗВ-К"_w,   "КОНВЕРТАЦИЯ"_w,                 "load_szv_k", &statements::make_load_szv_k,   nullptr},
    // Recognised, not converted: their procedures only tell the operator so.
    {"СПВП"_w, "СЗИ-3"_w,   "ВЫПИСКА_ИЗ_ЛС"_w,               "load_szi_3", &make_message_only,             nullptr},
    {"ВПСК"_w, "СЗИ-5"_w,   "ИС_СЗИ-3"_w,                    "load_szi_5", &make_message_only,             nullptr},
    {"ЭЦПД"_w, "ЭЦПД"_w,    "ИС_ЭЦПД"_w,                     "load_ecpd",  &make_message_only,             nullptr},
};
// clang-format on

}  // namespace

std::span<const core::DocumentKind> document_kinds() { return kKinds; }

}  // namespace tolvex::app
