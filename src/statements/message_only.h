// The document kinds that are recognised but not converted (СЗИ-3, СЗИ-5, ЭЦПД): their
// procedures only tell the operator so.
#pragma once

#include <string_view>

#include "core/converter.h"

namespace tolvex::statements {

class MessageOnlyConverter : public core::Converter {
 public:
  MessageOnlyConverter(const core::ConverterContext& ctx, std::string_view procedure)
      : Converter(ctx), procedure_(procedure) {}
  std::string_view procedure() const override { return procedure_; }
  std::string_view window_title() const override { return {}; }
  std::string_view journal_text() const override { return {}; }
  bool message_only() const override { return true; }
  core::ReadResult read_document(core::PackReader&) override { return {core::ReadResult::end_of_pack, 33}; }
  void write_document(core::XmlWriter&) override {}

 private:
  std::string_view procedure_;
};

std::unique_ptr<core::Converter> make_load_szi_3(const core::ConverterContext& ctx);
std::unique_ptr<core::Converter> make_load_szi_5(const core::ConverterContext& ctx);
std::unique_ptr<core::Converter> make_load_ecpd(const core::ConverterContext& ctx);

}  // namespace tolvex::statements
