# SPDX-License-Identifier: GPL-3.0-or-later
include_guard(GLOBAL)
include(GNUInstallDirs)
find_program(ZELVORN_GZIP gzip REQUIRED)

# Installs the manual page PAGE (NAME.SECTION, beside the calling
# CMakeLists.txt) gzipped, as man-db and Debian expect. -n leaves out the name
# and time, so the same page always packs to the same bytes.
function(zelvorn_install_man_page page)
    get_filename_component(section "${page}" LAST_EXT)
    string(SUBSTRING "${section}" 1 -1 section)
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${page})
    set(gzipped ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
    add_custom_command(
        OUTPUT ${gzipped}
        COMMAND ${ZELVORN_GZIP} -9 -n -c ${source} > ${gzipped}
        DEPENDS ${source}
        COMMENT "Compressing the manual page ${page}")
    add_custom_target(man_page_${page} ALL DEPENDS ${gzipped})
    install(FILES ${gzipped} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
