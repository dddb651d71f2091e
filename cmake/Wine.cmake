# A Windows build made on Linux runs its programs under Wine: CTest runs each
# test program, and gtest_discover_tests lists its cases, through
# wine-run.sh, which gives every run a fresh Wine prefix made from a
# template kept in the build folder (${CMAKE_BINARY_DIR}/wine).
#
# HALVANE_WINE_ARCH picks the Windows the programs run on: win64 (64-bit
# Windows, where a 32-bit program runs under WoW64, as on the machines the
# program is used on) or win32.
if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32 OR DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
    return()
endif()

set(HALVANE_WINE_ARCH win64 CACHE STRING "Wine prefix architecture for running tests (win64 or win32)")
set_property(CACHE HALVANE_WINE_ARCH PROPERTY STRINGS win64 win32)
if(NOT HALVANE_WINE_ARCH MATCHES "^win(32|64)$")
    message(FATAL_ERROR "HALVANE_WINE_ARCH must be win64 or win32, not ${HALVANE_WINE_ARCH}")
endif()
if(HALVANE_WINE_ARCH STREQUAL "win32" AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    message(FATAL_ERROR "A 64-bit build cannot run in a win32 Wine prefix")
endif()

halvane_find_tool(HALVANE_WINE wine wine "the Windows tests, which run under Wine")

# The emulator is one program without arguments: a wrapper that fixes the
# folder and architecture, since CTest and gtest_discover_tests pass an
# emulator's own arguments on differently.
set(HALVANE_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
file(CONFIGURE OUTPUT ${HALVANE_WINE_RUN} @ONLY CONTENT
"#!/bin/sh
exec \"@PROJECT_SOURCE_DIR@/cmake/wine-run.sh\" --root \"@CMAKE_BINARY_DIR@/wine\" --arch @HALVANE_WINE_ARCH@ \"$@\"
")
file(CHMOD ${HALVANE_WINE_RUN} FILE_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${HALVANE_WINE_RUN})

# gtest_discover_tests lists a test program's cases when CTest starts rather
# than after linking it: building needs no Wine, and the template prefix is
# made by the first test run, not in the middle of a build. A discovery that
# fails still fails the CTest run.
if(NOT DEFINED CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE)
    set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()
