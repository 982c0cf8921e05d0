// SPDX-License-Identifier: MIT
// Address conversion: a format-4 address is one text field whose parts are separated by commas
// (country code, postal index, region, district, city, settlement, street, house, corpus, flat);
// format 7 wants a structured Russian address, a foreign address or an unstructured one.
// `write_address` splits the field, decides the form and writes the content of the address
// element; the caller writes the wrapping element (АдресРегистрации, АдресФактический ...) and
// raises the depth for its content.
#pragma once

#include <string_view>

#include "core/format4/record.h"
#include "core/format7/xml_writer.h"

namespace tolvex::blocks {

// clang-format off
// The parts of one address.
inline constexpr core::FieldDef kAddressFields[] = {
    {"STRANA", 40},    {"P_INDEX", 6}, {"REGION", 40}, {"SOCR1", 30},  {"RAION", 40},    {"SOCR2", 30},
    {"GOROD", 40},     {"SOCR3", 30},  {"NAS_PUNKT", 40}, {"SOCR4", 30}, {"ULICA", 40},  {"SOCR5", 30},
    {"DOM", 20},       {"SOCR6", 30},  {"KORPUS", 20}, {"SOCR7", 30},  {"KVARTIRA", 20}, {"SOCR8", 30}};
inline constexpr core::RecordLayout R_A{"R_A", kAddressFields};
// clang-format on

enum class AddressForm { russian, foreign, unstructured };

struct AddressParts {
  core::RecordOf<R_A> parts;
  // Every part from the region to the flat stands apart (seven, eight or nine commas).
  bool structured = false;
  // A part was longer than its field (a place over 40 characters, a number over 20, an index of
  // more than six digits): the record cannot hold the address, so it is not taken as structured.
  bool oversized = false;
  // The index had more than six digits; what P_INDEX holds is not the index.
  bool index_oversized = false;
};

// Splits the address field into its parts (no normalising).
AddressParts split_address(std::string_view address);

// Divides the place parts into name and type word and takes the type prefixes off the house,
// corpus and flat numbers.
void normalize_address(core::RecordOf<R_A>& parts);

// The form of a split address: foreign for a country code other than "653", Russian for a
// structured address, unstructured otherwise.
AddressForm address_form(const AddressParts& split);

// Writes the content of an address element at the current depth; the depth is left unchanged.
void write_address(core::XmlWriter& xml, std::string_view address);

}  // namespace tolvex::blocks
