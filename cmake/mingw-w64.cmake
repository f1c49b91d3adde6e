# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (the POSIX-thread
# variant, package g++-mingw-w64-x86-64-posix); tests run under Wine. Qt for
# Windows is built with this file too, so the program and Qt's DLLs share
# one C++ runtime (libstdc++-6.dll, deployed beside them).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
find_program(KORVAL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KORVAL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVAL_WINE})
endif()
