// SPDX-License-Identifier: MIT
// The kind of the records and of their correction, as format 4 codes it (ИСХД, ПЕНС, КОРР,
// ОТМН) and as format 7 names it (ИСХОДНАЯ, ПЕНСИОННАЯ, КОРРЕКТИРУЮЩАЯ, ОТМЕНЯЮЩАЯ). Every
// element that carries such a word (ТипСведений, ВидКорректировки) reads only some of the codes:
// those readings are the rows below.
#pragma once

#include <string_view>

namespace tolvex::core {

// The codes an element reads; any other code gives no word, and so does a blank one unless
// `blank_is_original`.
struct InformationCodes {
  bool original;           // ИСХД: ИСХОДНАЯ
  bool pension;            // ПЕНС: ПЕНСИОННАЯ
  bool correcting;         // КОРР: КОРРЕКТИРУЮЩАЯ
  bool cancelling;         // ОТМН: ОТМЕНЯЮЩАЯ
  bool blank_is_original;  // a blank code: ИСХОДНАЯ
};

// ТипСведений of the СЗВ-4 pack block and of СЗВ-4-1 and СЗВ-4-2, from PCH:TYP_SVD.
inline constexpr InformationCodes kSzv4InformationType{
    .original = true, .pension = true, .correcting = false, .cancelling = false, .blank_is_original = true};
// ВидКорректировки of the same, from PCH:KORR.
inline constexpr InformationCodes kSzv4CorrectionKind{
    .original = false, .pension = false, .correcting = true, .cancelling = true, .blank_is_original = false};
// ТипСведений of СЗВ-1 and СЗВ-3, from the person line's TYP_F.
inline constexpr InformationCodes kOldRecordsInformationType{
    .original = true, .pension = true, .correcting = true, .cancelling = true, .blank_is_original = false};
// ТипСведений of СЗВ-К, from PCH:TYP_SVD.
inline constexpr InformationCodes kConversionInformationType{
    .original = true, .pension = false, .correcting = true, .cancelling = true, .blank_is_original = false};

// The word for a code (exact, trailing blanks ignored) as the element reads it, or an empty text.
std::string_view information_word(std::string_view code, const InformationCodes& codes);

}  // namespace tolvex::core
