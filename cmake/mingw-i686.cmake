# The 32-bit Windows programs (build/win32, dist/win32).
set(TOVIK_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
