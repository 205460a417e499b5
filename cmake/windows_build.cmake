# SPDX-License-Identifier: GPL-3.0-or-later
# Asked for with -DZELVORN_BUILD_WINDOWS=ON (scripts/test.sh does): the Linux
# build also cross-builds, with Debian's mingw-w64, Zelvorn.exe, our
# pdixtract.exe, the installer and the zip (where makensis and zip are
# installed) and, with the tests, the stand-in pdixtract.exe and pdixtract's
# suite for Windows into windows/ of the build folder, so the Wine tests run
# from the same ctest. The step runs on every build; with nothing changed it
# costs a fraction of a second. Its first build also fetches Debian's sources
# of the libraries pdixtract.exe links (cmake/windows_libraries.cmake).
include_guard(GLOBAL)
include(ExternalProject)

# Defines the target zelvorn_windows; its BINARY_DIR property
# (ExternalProject_Get_Property) is the Windows build folder.
function(zelvorn_add_windows_build)
    find_program(ZELVORN_MINGW_CXX x86_64-w64-mingw32-g++-posix)
    if(NOT ZELVORN_MINGW_CXX)
        message(FATAL_ERROR "ZELVORN_BUILD_WINDOWS needs Debian's mingw-w64 "
                            "(bash scripts/install-deps.sh windows)")
    endif()
    set(dir ${CMAKE_BINARY_DIR}/windows)
    ExternalProject_Add(zelvorn_windows
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${dir}
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake
                   -DCMAKE_BUILD_TYPE=Release
                   -DZELVORN_BUILD_TESTS=${ZELVORN_BUILD_TESTS}
                   -DZELVORN_BUILD_BENCH=OFF
        CMAKE_GENERATOR ${CMAKE_GENERATOR}
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        BUILD_BYPRODUCTS ${dir}/src/Zelvorn.exe ${dir}/pdixtract/pdixtract.exe)
endfunction()
