// SPDX-License-Identifier: MIT
// A member's data for libzip, read when the archive is written. The file is opened without
// following a link (unless it was named on the command line, where a link is taken to its file)
// and is refused when it is no longer the file planned, so what is read is what was chosen.
#pragma once

#include <zip.h>

#include <string>

#include "zip/archive_members.h"

namespace tolvex::zip {

// A source for `member` owned by `archive` once added; `failure` receives the first problem in
// words. Null when libzip cannot make the source.
zip_source_t* member_source(zip_t* archive, const Member& member, std::string& failure);

}  // namespace tolvex::zip
