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
