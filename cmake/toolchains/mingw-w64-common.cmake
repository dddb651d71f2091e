# Cross-compiling for Windows with Debian's MinGW-w64 (the posix threads
# variant, so std::thread and std::mutex work), included by the per-target
# toolchain files, which set HALVANE_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR
# first.
#
# Every program links the compiler's runtime (libgcc, libstdc++, winpthread)
# statically, so an .exe needs only DLLs that Windows itself has (KERNEL32,
# msvcrt, ...); check with
#   x86_64-w64-mingw32-objdump -p bin/X.exe | grep 'DLL Name'
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${HALVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HALVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HALVANE_MINGW_TRIPLE}-windres)

# -static: libgcc, libstdc++ and libwinpthread come from their .a files;
# -static-libgcc/-static-libstdc++ alone would still leave
# libwinpthread-1.dll behind, which std::thread pulls in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Headers and libraries only from the target's own tree: the build machine's
# (ICU, shapelib, GoogleTest, Qt) are for Linux and must never be picked up.
# Programs (python3, the generators of the build) are the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${HALVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the target's .pc files (there are none for shapelib
# or ICU), never /usr/lib/x86_64-linux-gnu/pkgconfig.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${HALVANE_MINGW_TRIPLE}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
