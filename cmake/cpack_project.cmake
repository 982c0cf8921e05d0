# SPDX-License-Identifier: MIT
# Read by cpack for each kind of package it makes. A Debian package names its maintainer, the
# person who builds and hands it out, with an address: TOLVEX_PACKAGE_MAINTAINER when configured,
# or else the variables the Debian tools take it from, DEBFULLNAME and DEBEMAIL ("address" or
# "Name <address>"). There is no default: the project has no address of its own to put there.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_DEBIAN_PACKAGE_MAINTAINER)
  set(email "$ENV{DEBEMAIL}")
  if(email MATCHES "<.+@.+>")
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${email}")
  elseif(email MATCHES ".+@.+" AND NOT "$ENV{DEBFULLNAME}" STREQUAL "")
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "$ENV{DEBFULLNAME} <${email}>")
  else()
    message(FATAL_ERROR "The Debian package needs its maintainer, whoever builds and hands it out: "
      "run cpack with DEBFULLNAME=\"Name\" DEBEMAIL=address, or configure with "
      "-DTOLVEX_PACKAGE_MAINTAINER=\"Name <address>\".")
  endif()
endif()
