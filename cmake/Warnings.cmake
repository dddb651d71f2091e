# The project's compiler warnings, set on each of its own targets (product,
# tests, tools, fuzz targets, benchmarks) and on no other: third-party code
# built with the project, such as GoogleTest from source, keeps its own.
# With HALVANE_WERROR the warnings of every such target are errors.
#
#     halvane_warnings(target)
#
# follows every add_library and add_executable of the project.
function(halvane_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /permissive-)
    else()
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
    endif()
    if(HALVANE_WERROR)
        set_property(TARGET ${target} PROPERTY COMPILE_WARNING_AS_ERROR ON)
    endif()
endfunction()
