# Cross build for i686 Windows with Debian's mingw-w64 (the -posix compilers,
# which have std::thread and std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
# PV14_THIRD_PARTY: the prefix of the cross-built SQLite, GoogleTest and
# nlohmann-json (scripts/windows.sh makes it).
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PV14_THIRD_PARTY)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${PV14_THIRD_PARTY})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
