# Cross build for Windows x86_64 with MinGW-w64 (posix thread model: GoogleTest needs std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs run under Wine (ctest and test discovery alike), with the
# loader harness/winebuild chose. Without it, the 64-bit loader by name:
# Debian's `wine` prefers the 32-bit one whenever wine32 is installed.
if(DEFINED ENV{BRAK_WINE})
  set(CMAKE_CROSSCOMPILING_EMULATOR $ENV{BRAK_WINE})
else()
  find_program(BRAK_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(BRAK_WINE64 wine64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BRAK_WINE64})
endif()
