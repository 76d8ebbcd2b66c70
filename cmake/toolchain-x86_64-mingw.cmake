# 64-bit Windows with MinGW-w64: the same program and tests, so that pointer-size faults
# cannot hide, and the Wine tests run where the machine cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(MINGW_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
