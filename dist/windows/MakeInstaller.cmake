# Makes the Windows installer from a build: installs the program folder into
# a staging folder, lists its files for the uninstaller, and runs makensis.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DMAKENSIS=... -DVERSION=... -DOUTFILE=...
#         -P MakeInstaller.cmake
set(stage ${BUILD_DIR}/installer/program)
file(REMOVE_RECURSE ${BUILD_DIR}/installer)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage} --strip
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "cmake --install of ${BUILD_DIR} failed")
endif()

# The uninstaller removes exactly the files installed, nothing the user left.
file(GLOB_RECURSE files RELATIVE ${stage} ${stage}/*)
list(SORT files)
set(list "")
foreach(f IN LISTS files)
    string(REPLACE "/" "\\" f "${f}")
    string(APPEND list "Delete \"$INSTDIR\\${f}\"\n")
endforeach()
file(WRITE ${BUILD_DIR}/installer/files.nsh "${list}")

execute_process(
    COMMAND ${MAKENSIS} -V2 -DPROGRAM_DIR=${stage} -DVERSION=${VERSION} -DOUTFILE=${OUTFILE}
            -DICON=${SOURCE_DIR}/ui/art/qrx2.ico -DFILE_LIST=${BUILD_DIR}/installer/files.nsh
            ${SOURCE_DIR}/dist/windows/setup.nsi
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "makensis failed")
endif()
