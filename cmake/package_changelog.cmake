# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack once the package's files are staged: settles the maintainer,
# signs the changelog's latest entry with that name and puts the changelog,
# gzipped, where Debian keeps it.
if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
endif()
if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER AND DEFINED ENV{DEBEMAIL})
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
endif()
if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER MATCHES "^[^<>]*[^<> ] <[^<>@ ]+@[^<>@ ]+>$")
    message(FATAL_ERROR "The package needs a maintainer, NAME <MAIL>: set DEBFULLNAME and "
                        "DEBEMAIL, or configure with -DCPACK_PACKAGE_CONTACT=\"NAME <MAIL>\"")
endif()

file(READ "${CPACK_ZELVORN_CHANGELOG}" changelog)
if(NOT changelog MATCHES "^${CPACK_PACKAGE_NAME} \\(([^)]*)\\)"
   OR NOT CMAKE_MATCH_1 STREQUAL CPACK_PACKAGE_VERSION)
    message(FATAL_ERROR "The latest entry of ${CPACK_ZELVORN_CHANGELOG} is not for version "
                        "${CPACK_PACKAGE_VERSION}; write it before packing")
endif()
string(CONFIGURE "${changelog}" changelog @ONLY)
set(doc "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/${CPACK_PACKAGE_NAME}")
file(WRITE "${doc}/changelog" "${changelog}")
execute_process(COMMAND gzip -9 -n -f "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
