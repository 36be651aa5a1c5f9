# 64-bit Windows: MinGW-w64 with the posix thread model. Its tests run under
# wine64's loader, named explicitly: plain "wine" takes the 32-bit loader
# once wine32 is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Debian keeps the loaders in /usr/lib/wine; elsewhere "wine64" is on PATH.
find_program(TAVERELL_WINE_LOADER wine64 HINTS /usr/lib/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVERELL_WINE_LOADER})
