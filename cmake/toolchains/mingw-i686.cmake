# 32-bit Windows (the shipped build), with Debian's g++-mingw-w64-i686-posix.
#   cmake -S . -B build-windows-i686 -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-i686.cmake
# or: cmake --preset windows-i686
set(CMAKE_SYSTEM_PROCESSOR x86)
set(HALVANE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
