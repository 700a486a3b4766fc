# The 64-bit Windows programs (build/win64, dist/win64).
set(TOVIK_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
