# Cross-compiles for 64-bit Windows with the MinGW-w64 GCC that uses POSIX
# threads (the variant whose C++ library has std::thread and std::mutex).
#
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#
# MINGW_TRIPLET and MINGW_COMPILER_SUFFIX pick another installation, e.g.
# -DMINGW_COMPILER_SUFFIX= for a toolchain with only the plain names.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET "x86_64-w64-mingw32" CACHE STRING
    "Target triplet of the MinGW-w64 tools")
set(MINGW_COMPILER_SUFFIX "-posix" CACHE STRING
    "Suffix of the compiler names (-posix: POSIX thread model)")

find_program(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc${MINGW_COMPILER_SUFFIX}
             REQUIRED)
find_program(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++${MINGW_COMPILER_SUFFIX}
             REQUIRED)
find_program(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
find_program(CMAKE_AR ${MINGW_TRIPLET}-gcc-ar${MINGW_COMPILER_SUFFIX})
find_program(CMAKE_RANLIB ${MINGW_TRIPLET}-gcc-ranlib${MINGW_COMPILER_SUFFIX})

# Libraries and headers come from the target's sysroot only; programs (code
# generators and the like) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run without the compiler's DLLs beside them (or on the PATH).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Lets try_run and tests start the programs under Wine when it is installed.
find_program(SUMORA_WINE NAMES wine64 wine)
if(SUMORA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SUMORA_WINE})
endif()
