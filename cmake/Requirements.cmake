# What the build needs from the machine beyond the compiler. A tool or library
# that a test or a deliverable depends on is looked up here once, through
# halvane_require(), which says what is left out when it is missing:
#
#   HALVANE_REQUIRE_ALL=OFF (a developer's own `cmake -B`): the part is left
#       out, and a status line names it and the Debian package that brings it;
#   HALVANE_REQUIRE_ALL=ON (every preset that ./dev builds): the configure
#       fails naming the package, so a machine short of a package never
#       passes with a quietly smaller test set.
#
# The packages themselves are listed in ./dev (PACKAGES, PACKAGING) and
# cmake/windows-deps.sh; `./dev deps` installs them.
option(HALVANE_REQUIRE_ALL
       "Fail the configure when a tool that a test or a deliverable needs is missing" OFF)

# halvane_require(FOUND PACKAGE WHAT): FOUND is the result of a find (true or
# false), PACKAGE the Debian package that brings it, WHAT the part of the
# build that needs it.
function(halvane_require found package what)
    if(found)
        return()
    endif()
    if(HALVANE_REQUIRE_ALL)
        message(FATAL_ERROR "The Debian package ${package} is missing (for ${what}): install "
                            "it (./dev deps does), or configure with HALVANE_REQUIRE_ALL=OFF "
                            "to leave that part out")
    endif()
    message(STATUS "Leaving out ${what}: the Debian package ${package} is missing")
endfunction()

# halvane_find_tool(VAR PROGRAM PACKAGE WHAT): find_program with the
# requirement above.
function(halvane_find_tool var program package what)
    find_program(${var} ${program})
    halvane_require("${${var}}" ${package} "${what}")
endfunction()
