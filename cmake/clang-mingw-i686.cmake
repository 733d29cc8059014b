# Clang for Windows i686 on Debian's MinGW-w64 headers and libraries: the second
# compiler over the Windows programs (scripts/analyse). Clang 14 does not take
# Debian's "12-posix"/"12-win32" GCC folders for a version, so it finds no C++
# library and falls back to the host's /usr/include: every include folder is
# named here instead. The posix thread model, as the GCC build has it (GoogleTest
# needs std::mutex); -pthread puts winpthread after libgcc_eh, which needs it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BRAK_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${BRAK_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${BRAK_TRIPLE})
set(CMAKE_RC_COMPILER ${BRAK_TRIPLE}-windres)

file(GLOB BRAK_GCC_DIRS /usr/lib/gcc/${BRAK_TRIPLE}/*-posix)
list(GET BRAK_GCC_DIRS -1 BRAK_GCC_DIR)
execute_process(COMMAND clang-14 -print-resource-dir
  OUTPUT_VARIABLE BRAK_CLANG_RESOURCES OUTPUT_STRIP_TRAILING_WHITESPACE)
set(BRAK_C_INCLUDES "-nostdinc -isystem ${BRAK_CLANG_RESOURCES}/include -isystem /usr/${BRAK_TRIPLE}/include")
set(BRAK_CXX_INCLUDES "-isystem ${BRAK_GCC_DIR}/include/c++ -isystem ${BRAK_GCC_DIR}/include/c++/${BRAK_TRIPLE} -isystem ${BRAK_GCC_DIR}/include/c++/backward")
# From a 486DX, as the GCC build (clang's default is the Pentium 4).
set(CMAKE_C_FLAGS_INIT "-march=i486 ${BRAK_C_INCLUDES}")
set(CMAKE_CXX_FLAGS_INIT "-march=i486 -nostdinc++ ${BRAK_CXX_INCLUDES} ${BRAK_C_INCLUDES}")
# The compile flags reach the link line too, where the include options do nothing.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${BRAK_GCC_DIR} -pthread -Wno-unused-command-line-argument")

set(CMAKE_FIND_ROOT_PATH /usr/${BRAK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
