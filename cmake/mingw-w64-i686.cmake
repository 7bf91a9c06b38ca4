# Cross build for 32-bit Windows, Windows XP SP3 and later, with Debian's mingw-w64.
#
# The shipped programs use the win32 thread model: the posix one links winpthreads, which
# imports GetTickCount64 (Vista). GoogleTest needs std::mutex, which Debian's win32-thread
# compilers lack, so the test tree uses mingw-w64-i686-posix.cmake (this file with the posix
# compilers) and tests the shipped programs from their own tree. Tests run under Wine.
if(NOT MINGW_THREADS)
  set(MINGW_THREADS win32)
endif()

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The shipped program carries no symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

find_program(WINE_PROGRAM wine)
if(WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()
