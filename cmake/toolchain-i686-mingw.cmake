# 32-bit Windows with MinGW-w64; the product's own target.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
set(MINGW_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
