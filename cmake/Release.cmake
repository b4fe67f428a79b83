# The shipped korvanta.exe (the release preset): optimised for size, stripped, static as every
# Windows build, and reproducible: the same sources give the same bytes in any build folder,
# checkout folder and at any time.
if(NOT KORVANTA_WINDOWS)
    message(FATAL_ERROR "KORVANTA_RELEASE builds korvanta.exe for Windows: use the release preset")
endif()

# Unused functions drop out at the link. Not -fdata-sections: with it this compiler puts
# zero-initialised objects into .data, where they take their size in the file.
#
# No exceptions and no unwind tables: nothing in the program throws or catches, and
# app/runtime_failures.cpp ends the runtime's throwing paths in FatalError, so the exception
# runtime, the unwinder and the thread library they need stay out of the executable.
#
# No debug information: it would carry the build folder's paths. Every other path the
# compiler writes (__FILE__) is made relative to the checkout or the build folder; build
# folders inside the checkout match both, and the one named last wins.
set(_code_languages $<COMPILE_LANGUAGE:C,CXX>)
add_compile_options(
    $<${_code_languages}:-ffunction-sections>
    $<${_code_languages}:-g0>
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>
    $<${_code_languages}:-fno-asynchronous-unwind-tables>
    # One thread does everything: function-local statics need no lock (it would bring the
    # thread library in).
    $<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>
    $<${_code_languages}:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>
    $<${_code_languages}:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)

# The PE header's time stamp would otherwise be the clock's.
add_link_options(-Wl,--gc-sections -Wl,--no-insert-timestamp -s)
