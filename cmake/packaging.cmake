# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack` in a build folder packs what `cmake --install`
# installs, under /usr, and adds the changelog Debian asks of every package.
# Its dependencies come from the shared libraries the programs link
# (dpkg-shlibdeps, from dpkg-dev).
include_guard(GLOBAL)

# Writes CPackConfig.cmake for the package; the maintainer is the cache entry
# CPACK_PACKAGE_CONTACT. Call it after data/, whose ZELVORN_HOMEPAGE it uses.
function(zelvorn_add_debian_package)
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME zelvorn)
    set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
    set(CPACK_PACKAGE_VENDOR "The Zelvorn developers")
    # The project has no address of its own yet, so whoever packs names themselves
    # as the maintainer, who also signs the changelog: set here, or taken from
    # DEBFULLNAME and DEBEMAIL when cpack runs, as Debian's own tools do.
    set(CPACK_PACKAGE_CONTACT "" CACHE STRING
        "The package's maintainer, NAME <MAIL>; if empty, DEBFULLNAME <DEBEMAIL> at packing time")
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
    # Empty unless configured: CPack then writes no Homepage field.
    set(CPACK_PACKAGE_HOMEPAGE_URL "${ZELVORN_HOMEPAGE}")
    set(CPACK_ZELVORN_CHANGELOG ${PROJECT_SOURCE_DIR}/data/changelog)
    set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/package_changelog.cmake)
    include(CPack)
endfunction()
