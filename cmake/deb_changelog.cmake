# SPDX-License-Identifier: MIT
# Run by cpack when the files of a package are in place: a Debian package gets CHANGELOG.md as
# usr/share/doc/tolvex/changelog.gz in Debian's form, each release an entry signed by the
# package's maintainer on the day of the release:
#   ## 0.1.0 (2026-12-08)          tolvex (0.1.0) unstable; urgency=medium
#   - A change,                    ->  * A change,
#     continued.                       continued.
#                                  -- Maintainer <address>  Tue, 08 Dec 2026 00:00:00 +0000
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
# The lines as a list, each ";" of the text held meanwhile as a character no text has.
file(READ "${CPACK_TOLVEX_CHANGELOG}" text)
string(ASCII 1 semicolon)
string(REPLACE "\r" "" text "${text}")
string(REPLACE ";" "${semicolon}" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
set(out "")
set(trailer "")
foreach(line IN LISTS lines)
  if(line MATCHES "^## ([0-9][^ ]*) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
    set(version ${CMAKE_MATCH_1})
    execute_process(COMMAND date -u -R -d "${CMAKE_MATCH_2} 00:00:00 UTC"
      OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT date)
      message(FATAL_ERROR "${CPACK_TOLVEX_CHANGELOG}: not a date in \"${line}\"")
    endif()
    string(APPEND out "${trailer}${CPACK_PACKAGE_NAME} (${version}) unstable; urgency=medium\n\n")
    set(trailer "\n -- ${CPACK_DEBIAN_PACKAGE_MAINTAINER}  ${date}\n\n")
  elseif(trailer AND line MATCHES "^- (.*)$")
    string(APPEND out "  * ${CMAKE_MATCH_1}\n")
  elseif(trailer AND line MATCHES "^  (.*)$")
    string(APPEND out "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
if(NOT trailer)
  message(FATAL_ERROR "${CPACK_TOLVEX_CHANGELOG}: no release (a heading \"## VERSION (YYYY-MM-DD)\")")
endif()
string(REGEX REPLACE "\n\n$" "\n" out "${out}${trailer}")
string(REPLACE "${semicolon}" ";" out "${out}")
set(doc "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${doc}")
file(WRITE "${doc}/changelog" "${out}")
execute_process(COMMAND gzip -9nf "${doc}/changelog" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip could not compress ${doc}/changelog")
endif()
file(CHMOD "${doc}/changelog.gz" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
