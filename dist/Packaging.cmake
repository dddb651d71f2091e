# Packages of the installation, made with `cpack` in the build directory:
# `cpack -G DEB` makes the Debian package halvane-shamsi-dates_<version>_<arch>.deb;
# for Windows, `cpack -G ZIP` makes the portable program folder
# halvane-shamsi-dates-<version>-win32.zip (win64 for the 64-bit build).
# Everything `cmake --install` installs goes in; the program directory is
# HALVANE_INSTALL_PROGRAM_DIR under the packaging prefix.
set(CPACK_PACKAGE_NAME ${HALVANE_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "Halvane")
set(CPACK_PACKAGE_CONTACT "Halvane <halvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fills Solar Hijri dates into a dBASE schedule table")
set(CPACK_PACKAGE_DESCRIPTION
    "Halvane Shamsi Dates fills Solar Hijri (Shamsi) dates into a project schedule.
Planners export the schedule's dates into the dBASE IV table Shamsi.dbf, run
the windowed program qrx2 (Halvane Shamsi Dates in the desktop menu), press
Run, and import the filled table back. For every record it reads the
Gregorian date fields ES, EF, ES_T1 and EF_T1 and writes their Shamsi dates
into SHES, SHEF, SHTS and SHTF; no other byte of the table changes.
.
The command-line program shamsi-dates fills a table without dialogs; with
--exact it converts dates of 1800 to 2123 by the Persian calendar's
arithmetic rule, and so does the windowed program started with qrx2 --exact
(in the desktop menu: right-click, \"exact calendar\").")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    # The zip holds the program folder itself, as it is installed: unpacked
    # anywhere, the programs find DATES.TXT and the pictures beside them.
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(CPACK_SYSTEM_NAME win64)
    else()
        set(CPACK_SYSTEM_NAME win32)
    endif()
    set(CPACK_PACKAGE_FILE_NAME ${HALVANE_PACKAGE_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies computed from the binaries by dpkg-shlibdeps (dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Control files with the permissions dpkg and lintian expect.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
