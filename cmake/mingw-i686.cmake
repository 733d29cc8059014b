# Cross build for Windows i686 with MinGW-w64 (posix thread model: GoogleTest needs std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)
# Every player's processor, from a 486DX: the compiler's default is the Pentium Pro.
set(CMAKE_C_FLAGS_INIT "-march=i486")
set(CMAKE_CXX_FLAGS_INIT "-march=i486")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs run under Wine (ctest and test discovery alike), with the
# loader harness/winebuild chose; Debian's `wine` picks the 32-bit one.
if(DEFINED ENV{BRAK_WINE})
  set(CMAKE_CROSSCOMPILING_EMULATOR $ENV{BRAK_WINE})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
