# How the program's code is compiled in every Windows tree, the test trees included, so that
# the korvanta.exe the suites drive is the shipped one: optimised for size, reproducible (the
# same sources give the same bytes in any build folder, checkout folder and at any time).
# Test code takes exceptions and unwind tables back (korvanta_test_code). The windows-debug
# preset turns all of this off (KORVANTA_SHIPPED_BUILD) for working on the code.
#
# Unused functions drop out at the link. Not -fdata-sections: with it this compiler puts
# zero-initialised objects into .data, where they take their size in the file.
#
# No exceptions and no unwind tables: nothing in the program throws or catches, and
# base/runtime_failures_win.cpp ends the runtime's throwing paths in FatalError, so the exception
# runtime, the unwinder and the thread library they need stay out of the executable.
#
# No debug information: it would carry the build folder's paths. Every other path the
# compiler writes (__FILE__) is made relative to the checkout or the build folder; build
# folders inside the checkout match both, and the one named last wins.
set(_code_languages $<COMPILE_LANGUAGE:C,CXX>)
set(KORVANTA_SHIPPED_CODE_OPTIONS
    $<${_code_languages}:-ffunction-sections>
    $<${_code_languages}:-g0>
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>
    $<${_code_languages}:-fno-asynchronous-unwind-tables>
    # One thread does everything: function-local statics need no lock (it would bring the
    # thread library in).
    $<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>
    $<${_code_languages}:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>
    $<${_code_languages}:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)
if(KORVANTA_SHIPPED_BUILD)
    add_compile_options(${KORVANTA_SHIPPED_CODE_OPTIONS})
endif()

# The link of korvanta.exe: sections nobody uses dropped, stripped, and no time stamp in the
# PE header (it would otherwise be the clock's); its replacements of the runtime's throwing
# paths go in as objects, ahead of the runtime libraries.
function(korvanta_shipped_link target)
    if(KORVANTA_SHIPPED_BUILD)
        target_link_libraries(${target} PRIVATE base_release_runtime)
        target_link_options(${target} PRIVATE -Wl,--gc-sections -Wl,--no-insert-timestamp -s)
    endif()
endfunction()

# Test code (GoogleTest, the tests, the benchmark's programs) keeps what it needs: exceptions,
# unwind tables and thread-safe statics. Called for a folder, or with targets.
set(KORVANTA_TEST_CODE_OPTIONS
    $<$<COMPILE_LANGUAGE:CXX>:-fexceptions> $<$<COMPILE_LANGUAGE:CXX>:-fthreadsafe-statics>
    $<${_code_languages}:-fasynchronous-unwind-tables>)
function(korvanta_test_code)
    if(NOT KORVANTA_SHIPPED_BUILD)
        return()
    elseif(ARGN)
        foreach(target ${ARGN})
            target_compile_options(${target} PRIVATE ${KORVANTA_TEST_CODE_OPTIONS})
        endforeach()
    else()
        add_compile_options(${KORVANTA_TEST_CODE_OPTIONS})
    endif()
endfunction()
