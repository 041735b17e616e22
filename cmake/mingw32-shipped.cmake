# Cross-compiles the shipped 32-bit Windows programs (the launcher and qmpack)
# with the -win32 thread-model mingw-w64 compilers: their runtime imports
# nothing that Windows 95 and NT 4.0 lack, where the posix-thread runtime
# pulls in GetTickCount64 and more. GoogleTest needs the -posix compilers
# (mingw32.cmake); the shipped programs need no threads.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Optimised across the whole program at its link (the shipped launcher 416 →
# 367 KB). The archives must keep the compiler's intermediate code, which
# only the compiler's own ar and ranlib do; one partition, as the link of
# qmpack.exe failed with several.
set(CMAKE_AR i686-w64-mingw32-gcc-ar-win32)
set(CMAKE_RANLIB i686-w64-mingw32-gcc-ranlib-win32)
set(CMAKE_C_FLAGS_INIT "-flto -flto-partition=one")
set(CMAKE_CXX_FLAGS_INIT "-flto -flto-partition=one")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-flto -flto-partition=one")
