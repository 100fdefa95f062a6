# Third-party pieces, all from Debian: zlib (mingw package), minizip's unzip
# layer (from the zlib source package unpacked by scripts/setup), GoogleTest
# (sources shipped by Debian's googletest package).
find_library(ORVANTO_ZLIB NAMES libz.a z REQUIRED)

set(MINIZIP_DIR "${ORVANTO_DEPS_DIR}/zlib/contrib/minizip")
if(NOT EXISTS "${MINIZIP_DIR}/unzip.c")
  message(FATAL_ERROR "minizip sources missing in ${MINIZIP_DIR}: run scripts/setup")
endif()
add_library(minizip_unzip STATIC ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/ioapi.c)
target_include_directories(minizip_unzip SYSTEM PUBLIC ${MINIZIP_DIR}/..)
target_compile_definitions(minizip_unzip PRIVATE NOCRYPT NOUNCRYPT)
target_compile_options(minizip_unzip PRIVATE -w)
target_link_libraries(minizip_unzip PUBLIC ${ORVANTO_ZLIB})

if(ORVANTO_TESTS)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
