#include "statements/message_only.h"

namespace tolvex::statements {

std::unique_ptr<core::Converter> make_load_szi_3(const core::ConverterContext& ctx) {
  return std::make_unique<MessageOnlyConverter>(ctx, "load_szi_3");
}
std::unique_ptr<core::Converter> make_load_szi_5(const core::ConverterContext& ctx) {
  return std::make_unique<MessageOnlyConverter>(ctx, "load_szi_5");
}
std::unique_ptr<core::Converter> make_load_ecpd(const core::ConverterContext& ctx) {
  return std::make_unique<MessageOnlyConverter>(ctx, "load_ecpd");
}

}  // namespace tolvex::statements
