# SPDX-License-Identifier: MIT
# Writes a compiled catalogue (.mo) as a C++ array, for a program that reads it in place
# (the Windows console, built without gettext).
#   cmake -DMO=catalogue.mo -DOUT=catalogue.inc -P embed_catalogue.cmake
file(READ "${MO}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n"
  bytes "${bytes}")
file(WRITE "${OUT}" "// Made from po/ru.po by msgfmt and cmake/embed_catalogue.cmake: do not edit.\n"
  "constexpr unsigned char kRuCatalogue[] = {\n${bytes}};\n")
