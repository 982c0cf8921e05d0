// SPDX-License-Identifier: MIT
#include "core/conversion/dispatch.h"

#include "core/conversion/converter.h"

namespace tolvex::core {

namespace {

class MessageOnlyConverter : public Converter {
 public:
  explicit MessageOnlyConverter(const ConverterContext& context) : Converter(context) {}
  std::string_view window_title() const override { return {}; }
  std::string_view journal_text() const override { return {}; }
  bool message_only() const override { return true; }
  ReadResult read_document(PackReader&) override { return {ReadResult::end_of_pack, runtime::Error::end_of_file}; }
  void write_document(XmlWriter&) override {}
};

}  // namespace

std::unique_ptr<Converter> make_message_only(const ConverterContext& context) {
  return std::make_unique<MessageOnlyConverter>(context);
}

const DocumentKind* find_kind(std::span<const DocumentKind> kinds, std::string_view code) {
  for (const auto& k : kinds)
    if (equals(code, k.code)) return &k;
  return nullptr;
}

}  // namespace tolvex::core
