# The warnings of the project's own code, one set for every target. The generator includes
# this file too when it is built on its own, outside the project.
include_guard(GLOBAL)

function(korvanta_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                             -Wno-missing-field-initializers)
    if(KORVANTA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
