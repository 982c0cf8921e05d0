#include "core/dispatch.h"

#include <stdexcept>
#include <string>

namespace tolvex::core {

namespace {

constexpr DocumentKind kKinds[] = {
    {"АНКТ"_w, "АДВ-1"_w, "АНКЕТА_ЗЛ"_w, "load_adv1", true, PackBlock::none},
    {"ОБМН"_w, "АДВ-2"_w, "ЗАЯВЛЕНИЕ_ОБ_ОБМЕНЕ"_w, "load_adv2", true, PackBlock::none},
    {"ДУБЛ"_w, "АДВ-3"_w, "ЗАЯВЛЕНИЕ_О_ДУБЛИКАТЕ"_w, "load_adv3", true, PackBlock::none},
    {"СМРТ"_w, "АДВ-8"_w, "СВЕДЕНИЯ_О_СМЕРТИ"_w, "load_adv8", true, PackBlock::none},
    {"СВОД"_w, "АДВ-10"_w, "СВОДНАЯ_ВЕДОМОСТЬ"_w, "load_adv10", true, PackBlock::none},
    {"ВУПЛ"_w, "АДВ-11"_w, "ВЕДОМОСТЬ_УПЛАТЫ"_w, "load_adv11", true, PackBlock::none},
    {"ИН20"_w, "СЗВ-1"_w, "СТАРЫЕ_ИС_СЗВ-1"_w, "load_szv1", true, PackBlock::old_records},
    {"ИН30"_w, "СЗВ-3"_w, "СТАРЫЕ_ИС_СЗВ-3"_w, "load_szv3", true, PackBlock::old_records},
    {"ИН41"_w, "СЗВ-4-1"_w, "ИС_СЗВ-4-1"_w, "load_szv41", true, PackBlock::szv4},
    {"ИН42"_w, "СЗВ-4-2"_w, "ИС_СЗВ-4-2"_w, "load_szv42", true, PackBlock::szv4},
    {"КОНВ"_w, "СЗВ-К"_w, "КОНВЕРТАЦИЯ"_w, "load_szv_k", true, PackBlock::none},
    {"СПВП"_w, "СЗИ-3"_w, "ВЫПИСКА_ИЗ_ЛС"_w, "load_szi_3", false, PackBlock::none},
    {"ВПСК"_w, "СЗИ-5"_w, "ИС_СЗИ-3"_w, "load_szi_5", false, PackBlock::none},
    {"ЭЦПД"_w, "ЭЦПД"_w, "ИС_ЭЦПД"_w, "load_ecpd", false, PackBlock::none},
};

}  // namespace

DispatchTable::DispatchTable() {
  for (const auto& k : kKinds) rows_.push_back({k, nullptr});
}

const DispatchRow* DispatchTable::find(std::string_view code) const {
  for (const auto& r : rows_)
    if (equals(code, r.kind.code)) return &r;
  return nullptr;
}

void DispatchTable::set_factory(std::string_view procedure, ConverterFactory factory) {
  for (auto& r : rows_)
    if (r.kind.procedure == procedure) {
      r.factory = factory;
      return;
    }
  throw std::logic_error("no document kind has the procedure " + std::string(procedure));
}

}  // namespace tolvex::core
