# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows packages, beside the programs in the build folder:
# Zelvorn-VERSION-setup.exe (NSIS, from data/zelvorn.nsi) and the portable
# Zelvorn-VERSION-win64.zip (both programs, README and licence in one folder).
# Each is left out, with a note, where makensis or zip is missing.
include_guard(GLOBAL)

# Defines the target windows_packages, built by default.
function(zelvorn_add_windows_packages)
    set(stem Zelvorn-${PROJECT_VERSION})
    set(programs ${CMAKE_BINARY_DIR}/programs)
    add_custom_command(
        OUTPUT ${programs}/Zelvorn.exe ${programs}/pdixtract.exe
        COMMAND ${CMAKE_COMMAND} -E make_directory ${programs}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zelvorn> $<TARGET_FILE:pdixtract> ${programs}
        DEPENDS zelvorn pdixtract)
    set(packages ${programs}/Zelvorn.exe)

    find_program(ZELVORN_MAKENSIS makensis)
    if(ZELVORN_MAKENSIS)
        set(setup ${CMAKE_BINARY_DIR}/${stem}-setup.exe)
        add_custom_command(
            OUTPUT ${setup}
            COMMAND ${ZELVORN_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DPROGRAMS=${programs}
                    -DSOURCE=${PROJECT_SOURCE_DIR} -DOUT=${setup} ${PROJECT_SOURCE_DIR}/data/zelvorn.nsi
            DEPENDS ${PROJECT_SOURCE_DIR}/data/zelvorn.nsi ${programs}/Zelvorn.exe
                    ${programs}/pdixtract.exe ${PROJECT_SOURCE_DIR}/data/zelvorn.ico
            COMMENT "Building the installer ${stem}-setup.exe")
        list(APPEND packages ${setup})
    else()
        message(STATUS "${stem}-setup.exe not built: makensis (Debian's nsis) is missing")
    endif()

    find_program(ZELVORN_ZIP zip)
    if(ZELVORN_ZIP)
        set(zip ${CMAKE_BINARY_DIR}/${stem}-win64.zip)
        set(folder ${CMAKE_BINARY_DIR}/zip/${stem})
        add_custom_command(
            OUTPUT ${zip}
            COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip ${zip}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
            COMMAND ${CMAKE_COMMAND} -E copy ${programs}/Zelvorn.exe ${programs}/pdixtract.exe ${folder}
            COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/README.md ${folder}/README.md
            COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${folder}/LICENSE.txt
            COMMAND cd ${CMAKE_BINARY_DIR}/zip && ${ZELVORN_ZIP} -q -9 -X -r ${zip} ${stem}
            DEPENDS ${programs}/Zelvorn.exe ${programs}/pdixtract.exe ${PROJECT_SOURCE_DIR}/README.md
                    ${PROJECT_SOURCE_DIR}/LICENSE
            COMMENT "Packing ${stem}-win64.zip")
        list(APPEND packages ${zip})
    else()
        message(STATUS "${stem}-win64.zip not built: zip is missing")
    endif()
    add_custom_target(windows_packages ALL DEPENDS ${packages})
endfunction()
