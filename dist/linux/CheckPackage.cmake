# The test package.deb: makes the Debian package of a build with CPack and
# checks it with check-package.sh (which installs it on this machine, uses it
# and removes it again).
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -P CheckPackage.cmake
set(out ${BUILD_DIR}/package-test)
file(REMOVE_RECURSE ${out})
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${out}
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "cpack -G DEB of ${BUILD_DIR} failed")
endif()
file(GLOB deb ${out}/*.deb)
list(LENGTH deb count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "cpack made ${count} packages in ${out}, not one")
endif()
execute_process(COMMAND ${SOURCE_DIR}/dist/linux/check-package.sh ${deb} ${BUILD_DIR}/bin
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "check-package.sh failed")
endif()
