# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (package
# mingw-w64): the LightWave plug-ins as Windows modules and the test host
# that runs them. Use with -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# on the plug-ins' own source folder (plugins/); scripts/build-windows-plugins.sh
# does that.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KV_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model, which std::mutex (used by GoogleTest) needs; its
# threads library is linked in statically like the rest of the runtime.
set(CMAKE_C_COMPILER ${KV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KV_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows programs built here run under Wine when it is installed (ctest).
find_program(KV_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KV_WINE})
endif()
