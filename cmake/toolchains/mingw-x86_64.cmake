# 64-bit Windows, with Debian's g++-mingw-w64-x86-64-posix.
#   cmake -S . -B build-windows-x64 -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-x86_64.cmake
# or: cmake --preset windows-x64
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(HALVANE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
