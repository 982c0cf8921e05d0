// SPDX-License-Identifier: MIT
// A run of the archiver that cannot be completed: what failed, in words, for the error stream.
#pragma once

#include <stdexcept>
#include <string>

namespace tolvex::zip {

class ArchiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "<what>: <the system's text for errno>".
std::string system_failure(const std::string& what, int err);

}  // namespace tolvex::zip
