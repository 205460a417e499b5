# SPDX-License-Identifier: GPL-3.0-or-later
# The libraries pdixtract.exe links, which Debian packages for Linux only:
# zlib, libarchive and libudfread, built from Debian's source packages (fetched
# by the build into the build folder, once) as static libraries of just the
# parts the reader uses. Including this file defines the targets
# LibArchive::LibArchive and udfread::udfread.
#
# libarchive: its CMake runs some 250 configure probes (nearly two minutes on
# two cores, and CMake 3.25 crashes in its one try_run when cross-compiling)
# and then builds 128 files. The ISO 9660 reader links a dozen of them; those
# are compiled here with libarchive's own hand-made configuration for Windows
# (contrib/android/config/windows_host.h, through PLATFORM_CONFIG_H, the hook
# archive_platform.h has for such configurations), plus zlib for zisofs.
include_guard(GLOBAL)

function(zelvorn_add_windows_libraries)
    set(src ${CMAKE_BINARY_DIR}/debian-sources)
    set(zlib_files adler32 crc32 inflate inffast inftrees zutil)
    set(archive_files archive_acl archive_check_magic archive_entry archive_entry_sparse
        archive_entry_xattr archive_read archive_read_support_format_iso9660 archive_string
        archive_string_sprintf archive_util archive_virtual archive_windows)
    set(udfread_files udfread ecma167 default_blockinput)
    list(TRANSFORM zlib_files REPLACE "(.+)" "${src}/zlib/\\1.c")
    list(TRANSFORM archive_files REPLACE "(.+)" "${src}/libarchive/libarchive/\\1.c")
    list(TRANSFORM udfread_files REPLACE "(.+)" "${src}/libudfread/src/\\1.c")

    # Fetched on the first build only (the unpacked files keep their old times, so a
    # stamp tells the build they are there).
    add_custom_command(
        OUTPUT ${src}/fetched.stamp
        BYPRODUCTS ${zlib_files} ${archive_files} ${udfread_files}
        COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/fetch-debian-source.sh ${src}
                zlib libarchive libudfread
        # udf_volume.cpp includes <udfread/udfread.h>, as installed on Linux.
        COMMAND ${CMAKE_COMMAND} -E make_directory ${src}/include
        COMMAND ${CMAKE_COMMAND} -E create_symlink ../libudfread/src ${src}/include/udfread
        COMMAND ${CMAKE_COMMAND} -E touch ${src}/fetched.stamp
        DEPENDS ${PROJECT_SOURCE_DIR}/scripts/fetch-debian-source.sh
        COMMENT "Fetching the Debian sources of zlib, libarchive and libudfread")

    add_custom_target(debian_sources DEPENDS ${src}/fetched.stamp)

    # Other people's code: their warnings are not ours to fix.
    add_library(zlib_static STATIC ${zlib_files})
    target_include_directories(zlib_static PUBLIC ${src}/zlib)
    target_compile_options(zlib_static PRIVATE -w)

    add_library(archive_static STATIC ${archive_files})
    target_compile_definitions(archive_static
        PUBLIC LIBARCHIVE_STATIC
        PRIVATE PLATFORM_CONFIG_H="../contrib/android/config/windows_host.h" HAVE_ZLIB_H=1)
    target_include_directories(archive_static PUBLIC ${src}/libarchive/libarchive)
    target_link_libraries(archive_static PRIVATE zlib_static)
    target_compile_options(archive_static PRIVATE -w)
    add_library(LibArchive::LibArchive ALIAS archive_static)

    add_library(udfread_static STATIC ${udfread_files})
    target_compile_definitions(udfread_static PRIVATE HAVE_UNISTD_H=1 HAVE_FCNTL_H=1)
    target_include_directories(udfread_static PUBLIC ${src}/include)
    target_compile_options(udfread_static PRIVATE -w)
    foreach(library zlib_static archive_static udfread_static)
        add_dependencies(${library} debian_sources)
    endforeach()
    add_library(udfread::udfread ALIAS udfread_static)
endfunction()

# pdixtract/CMakeLists.txt includes this file for the two targets.
zelvorn_add_windows_libraries()
