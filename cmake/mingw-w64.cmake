# Cross build of the core and its tests for 64-bit Windows with Debian's MinGW-w64 (posix
# threads), run under wine64:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#   cmake --build build-win && ctest --test-dir build-win
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RUFWACHT_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${RUFWACHT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RUFWACHT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${RUFWACHT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RUFWACHT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime libraries are linked in, so the programs run without MinGW's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs every test program through wine, headless, in the build's own Wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
