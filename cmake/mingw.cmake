# What both MinGW-w64 toolchains share; the toolchain file of each architecture names its
# target triplet (MINGW_TRIPLET) and Wine architecture (MINGW_WINE_ARCH), then includes this.
set(CMAKE_SYSTEM_NAME Windows)
if(CMAKE_HOST_WIN32)
  # On Windows, in a MinGW-w64 shell of this architecture: its gcc, g++ and windres, and
  # the tests run as they are.
  set(CMAKE_C_COMPILER gcc)
  set(CMAKE_CXX_COMPILER g++)
  set(CMAKE_RC_COMPILER windres)
else()
  set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
  set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
  set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
  set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  # Cross-built tests run under Wine, with the project's private prefix and display.
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;${MINGW_WINE_ARCH}")
endif()
