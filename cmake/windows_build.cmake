# SPDX-License-Identifier: GPL-3.0-or-later
# Where Debian's mingw-w64 is installed, the Linux build also cross-builds
# Zelvorn.exe, our pdixtract.exe, the installer and the zip (where makensis
# and zip are installed) and, with the tests, the stand-in pdixtract.exe and
# pdixtract's suite for Windows into build/windows/, so the Wine tests run from
# the same ctest. The step runs on every build; with nothing changed it costs
# a fraction of a second. The first build also fetches Debian's sources of the
# libraries pdixtract.exe links (cmake/windows_libraries.cmake).
find_program(ZELVORN_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(NOT ZELVORN_MINGW_CXX)
    message(STATUS "Zelvorn.exe not built: x86_64-w64-mingw32-g++-posix is missing")
    return()
endif()

include(ExternalProject)
set(ZELVORN_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(zelvorn_windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${ZELVORN_WINDOWS_DIR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake
               -DCMAKE_BUILD_TYPE=Release
               -DZELVORN_BUILD_TESTS=${ZELVORN_BUILD_TESTS}
               -DZELVORN_BUILD_BENCH=OFF
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${ZELVORN_WINDOWS_DIR}/src/Zelvorn.exe
                     ${ZELVORN_WINDOWS_DIR}/pdixtract/pdixtract.exe)
