# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads,
# which std::thread and std::mutex need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BAUD51_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BAUD51_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BAUD51_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BAUD51_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW tree only; programs run on the
# build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${BAUD51_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and benchmarks run under Wine, in a prefix of the build tree's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wine-prefix)
