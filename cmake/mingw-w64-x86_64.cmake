# Cross-compiling the Windows game on Debian with MinGW-w64 (packages
# g++-mingw-w64-x86-64-posix, mingw-w64-tools, libz-mingw-w64-dev):
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTQ_GAME_DATA=build/game
#
# The posix-threads flavour of the compiler: Debian's default one has no
# std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TQ_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TQ_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TQ_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TQ_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TQ_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
