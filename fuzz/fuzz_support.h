// SPDX-License-Identifier: MIT
// What every fuzz target checks: the XML written is well-formed, judged by libxml2.
#pragma once

#include <libxml/parser.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tolvex::fuzzing {

// Aborts (a finding) when `xml` is not a well-formed document.
inline void require_well_formed(const std::string& xml, const char* what) {
  xmlDocPtr doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "fuzz.xml", "windows-1251",
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!doc) {
    std::fprintf(stderr, "%s: not well-formed XML:\n%s\n", what, xml.c_str());
    std::abort();
  }
  xmlFreeDoc(doc);
}

inline void require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

}  // namespace tolvex::fuzzing
