# Cross build for Windows with Debian's mingw-w64, included by the toolchain
# file of each target after it sets CMAKE_SYSTEM_PROCESSOR. The -posix
# compilers are called by name: they have std::thread and std::mutex.
set(PV14_MINGW_TARGET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PV14_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PV14_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${PV14_MINGW_TARGET}-windres)
# PV14_THIRD_PARTY: the prefix of the cross-built SQLite, GoogleTest and
# nlohmann-json (scripts/windows.sh makes it).
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PV14_THIRD_PARTY)
set(CMAKE_FIND_ROOT_PATH /usr/${PV14_MINGW_TARGET} ${PV14_THIRD_PARTY})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
