# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
# Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DORVELIN_GUI=OFF ...

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVELIN_MINGW_PREFIX x86_64-w64-mingw32)

# The posix thread model gives std::thread and std::mutex; prefer it when
# Debian's alternatives offer both.
find_program(CMAKE_CXX_COMPILER NAMES ${ORVELIN_MINGW_PREFIX}-g++-posix ${ORVELIN_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${ORVELIN_MINGW_PREFIX}-gcc-posix ${ORVELIN_MINGW_PREFIX}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${ORVELIN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVELIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs must run on a Windows machine without the compiler's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
