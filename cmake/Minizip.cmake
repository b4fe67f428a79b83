# minizip for the Windows build: compiled from Debian's zlib source package, which
# scripts/setup.sh keeps outside the source tree. zlib itself is Debian's mingw build,
# linked statically.
file(GLOB _zlib_tarballs "${KORVANTA_CACHE}/zlib_*.orig.tar.*")
if(NOT _zlib_tarballs)
    message(FATAL_ERROR "No zlib source package in ${KORVANTA_CACHE}: run scripts/setup.sh first")
endif()
list(GET _zlib_tarballs 0 _zlib_tarball)
set(_minizip_root ${CMAKE_BINARY_DIR}/third_party)
if(NOT EXISTS ${_minizip_root}/.extracted)
    file(ARCHIVE_EXTRACT INPUT ${_zlib_tarball} DESTINATION ${_minizip_root}
         PATTERNS "*/contrib/minizip/*")
    file(TOUCH ${_minizip_root}/.extracted)
endif()
file(GLOB _minizip_dir LIST_DIRECTORIES true "${_minizip_root}/zlib-*/contrib/minizip")

find_library(KORVANTA_ZLIB_STATIC NAMES libz.a REQUIRED)
add_library(zlib_static STATIC IMPORTED GLOBAL)
set_target_properties(zlib_static PROPERTIES IMPORTED_LOCATION ${KORVANTA_ZLIB_STATIC})

add_library(minizip STATIC ${_minizip_dir}/unzip.c ${_minizip_dir}/ioapi.c ${_minizip_dir}/zip.c)
target_include_directories(minizip SYSTEM PUBLIC ${_minizip_dir})
target_compile_definitions(minizip PRIVATE IOAPI_NO_64 NOCRYPT NOUNCRYPT)
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC zlib_static)
