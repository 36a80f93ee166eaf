# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
# The posix-thread compiler: its libstdc++ has std::thread and std::mutex, and links
# statically so that the programs run without copying DLLs next to them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELEM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELEM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELEM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KELEM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELEM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
