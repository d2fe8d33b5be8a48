# Cross-building for 64-bit Windows with Debian's MinGW-w64 compilers. The posix thread
# model gives std::thread and std::mutex; -static links its runtime (and libstdc++,
# libgcc) into the program, so nothing but system DLLs sits beside the .scr.
# VOIDRIFT_MINGW_PREFIX (cache or environment) names the folder of the cross-built
# static libraries; find_* look there and in the compiler's own tree only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

if(NOT VOIDRIFT_MINGW_PREFIX AND DEFINED ENV{VOIDRIFT_MINGW_PREFIX})
  set(VOIDRIFT_MINGW_PREFIX "$ENV{VOIDRIFT_MINGW_PREFIX}")
endif()
set(VOIDRIFT_MINGW_PREFIX "${VOIDRIFT_MINGW_PREFIX}" CACHE PATH "Cross-built static libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VOIDRIFT_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw})
if(VOIDRIFT_MINGW_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${VOIDRIFT_MINGW_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static archives before import libraries, so no library DLL is needed at run time.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a .lib .dll.a)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# localtime_r and friends from the MinGW headers.
set(CMAKE_C_FLAGS_INIT "-D_POSIX_THREAD_SAFE_FUNCTIONS")
set(CMAKE_CXX_FLAGS_INIT "-D_POSIX_THREAD_SAFE_FUNCTIONS")
