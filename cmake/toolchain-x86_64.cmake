# Cross toolchain for the x86_64 Windows build (posix thread model: std::mutex and GoogleTest need it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORVANTO_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${ORVANTO_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVANTO_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ORVANTO_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORVANTO_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# This build runs here: ctest starts its programs under wine64.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
