# GoogleTest and GoogleMock for a cross build, compiled for the target from
# the sources of Debian's googletest package (the installed libgtest.a is
# for Linux). googletest's own CMake project defines the same targets that
# find_package(GTest) gives a native build: GTest::gtest, GTest::gtest_main,
# GTest::gmock and GTest::gmock_main.
set(HALVANE_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources to compile for a cross build (Debian package googletest)")
if(NOT EXISTS ${HALVANE_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${HALVANE_GTEST_SOURCE_DIR}: "
                        "install Debian's googletest package (cmake/windows-deps.sh)")
endif()

set(BUILD_GMOCK ON)
set(INSTALL_GTEST OFF)
# SYSTEM: its headers are system headers to the tests, as /usr/include is in
# a native build, so the project's warnings do not fire inside them.
add_subdirectory(${HALVANE_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
