# 32-bit Windows, the shipped build: MinGW-w64 with the posix thread model.
# Its tests run under wine's 32-bit loader (wine32:i386).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Debian keeps the loaders in /usr/lib/wine; elsewhere "wine" is on PATH.
find_program(TAVERELL_WINE_LOADER wine HINTS /usr/lib/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVERELL_WINE_LOADER})
