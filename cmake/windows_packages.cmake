# SPDX-License-Identifier: MIT
# The Windows packages, made on the build machine: `msi` (tolvex-<version>-x64.msi with Debian's
# wixl) and `portable` (tolvex-<version>-x64.zip: the two programs, the README, the licences and
# the operator's guide). Both take what the install rules put in a stage folder; the manual pages
# go as plain text, the guide as its page beside the pictures it shows (guide\, screenshots\).
set(stage ${PROJECT_BINARY_DIR}/windows-stage)
set(man_pages)
foreach(page tolvex tolvex-cli)
  list(APPEND man_pages ${stage}/man/${page}.txt)
  add_custom_command(OUTPUT ${stage}/man/${page}.txt
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/man
    COMMAND sh -c "groff -man -Tascii -P-c \"$1\" | col -bx | sed 's/$/\\r/' > \"$2\"" sh
            ${PROJECT_SOURCE_DIR}/docs/man/${page}.1 ${stage}/man/${page}.txt
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}.1
    VERBATIM)
endforeach()
# The pictures the guide shows (the installer names each of its files).
file(GLOB guide_pictures ${PROJECT_SOURCE_DIR}/docs/screenshots/*.png)
file(GLOB guide_windows_pictures ${PROJECT_SOURCE_DIR}/docs/screenshots/windows/*.png)
add_custom_target(windows_stage
  COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/README.md ${stage}/README.md
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/docs/guide ${stage}/guide
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/screenshots
  COMMAND ${CMAKE_COMMAND} -E copy ${guide_pictures} ${stage}/screenshots
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/screenshots/windows
  COMMAND ${CMAKE_COMMAND} -E copy ${guide_windows_pictures} ${stage}/screenshots/windows
  DEPENDS tolvex tolvex-cli ${man_pages}
  VERBATIM)

set(msi ${PROJECT_BINARY_DIR}/tolvex-${PROJECT_VERSION}-x64.msi)
find_program(TOLVEX_WIXL wixl)
find_program(TOLVEX_MSIBUILD msibuild)
# wixl finds the files beside the .wxs: it is copied into the stage.
add_custom_target(msi
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/windows/tolvex.wxs ${stage}/tolvex.wxs
  COMMAND ${TOLVEX_WIXL} -a x64 -D Version=${PROJECT_VERSION} -o ${msi} ${stage}/tolvex.wxs
  # The program folder's component permanent (16) besides its key in the registry (4): uninstalling
  # leaves the folder and what the operator keeps in it.
  COMMAND ${TOLVEX_MSIBUILD} ${msi} -q "UPDATE `Component` SET `Attributes` = 20 WHERE `Component` = 'ProgramFolder'"
  DEPENDS windows_stage
  BYPRODUCTS ${msi}
  COMMENT "tolvex-${PROJECT_VERSION}-x64.msi"
  VERBATIM)

set(portable tolvex-${PROJECT_VERSION}-x64)
add_custom_target(portable
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PROJECT_BINARY_DIR}/${portable}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/${portable}
  COMMAND ${CMAKE_COMMAND} -E copy ${stage}/bin/tolvex.exe ${stage}/bin/tolvex-cli.exe ${stage}/bin/LICENSE.txt
          ${stage}/bin/THIRD-PARTY.txt ${stage}/README.md ${PROJECT_BINARY_DIR}/${portable}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${stage}/guide ${PROJECT_BINARY_DIR}/${portable}/guide
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${stage}/screenshots ${PROJECT_BINARY_DIR}/${portable}/screenshots
  COMMAND ${CMAKE_COMMAND} -E tar cf ${portable}.zip --format=zip ${portable}
  DEPENDS windows_stage
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  BYPRODUCTS ${PROJECT_BINARY_DIR}/${portable}.zip
  VERBATIM)
