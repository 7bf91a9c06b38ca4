# The Windows test tree: mingw-w64-i686.cmake with the posix thread model, for GoogleTest.
# What ships comes from the win32-thread tree (scripts/build-windows).
set(MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-i686.cmake)
