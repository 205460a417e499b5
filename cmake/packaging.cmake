# The Debian package: `cpack -G DEB` in a build folder packs what
# `cmake --install` installs, under /usr. Its dependencies come from the
# shared libraries the programs link (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zelvorn developers")
set(CPACK_PACKAGE_CONTACT "The Zelvorn developers <zelvorn@example.org>" CACHE STRING
    "The package's maintainer, name and e-mail address")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "desktop window for extracting and converting .pdi disc-image sets")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zelvorn is a small desktop window in front of pdixtract, a command-line
extractor for disc-image sets stored as .pdi files (InstantCopy Images). It
extracts every file of a set, lists a set so that some of its files can be
picked and extracted, or converts a set into one ISO image file.
.
Both programs are included.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its X11 platform plugin at run time, so no linked library names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The extractor's terminal window and the windows' font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xterm, fonts-liberation2")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_HOMEPAGE_URL "${ZELVORN_HOMEPAGE}")
include(CPack)
