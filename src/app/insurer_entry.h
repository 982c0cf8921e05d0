// SPDX-License-Identifier: MIT
// The insurer data the operator completes in the one-pack window (IST4 fields 8 to 16): which
// fields take entries, and the check made when the operator leaves one. A value that fails its
// check is not taken into the record, so it never reaches the XML file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvex::app {

// True for the IST4 fields the operator may fill: the legal form, the ОГРН code, the licence
// number and date, the registration and deregistration dates, the department name and code.
// The ОГРН type follows from the code and the short name is not entered.
bool is_insurer_entry(std::string_view field);

// Nothing when `value` (Windows-1251) may go into `field`; otherwise the text of the message
// that says why not. A blank value is always accepted.
std::optional<std::string> insurer_entry_error(std::string_view field, std::string_view value);

}  // namespace tolvex::app
