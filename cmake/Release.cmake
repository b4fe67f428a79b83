# The shipped korvanta.exe (the release preset): optimised for size, stripped, static as every
# Windows build, and reproducible: the same sources give the same bytes in any build folder,
# checkout folder and at any time.
if(NOT KORVANTA_WINDOWS)
    message(FATAL_ERROR "KORVANTA_RELEASE builds korvanta.exe for Windows: use the release preset")
endif()

# Unused functions and data drop out at the link. No debug information: the build folder's
# paths would travel with it. __FILE__ and every other path the compiler writes is made
# relative to the checkout or the build folder; the checkout's own build folders lie inside
# it, so the build folder's map is named last and wins.
set(_code_languages $<COMPILE_LANGUAGE:C,CXX>)
add_compile_options(
    $<${_code_languages}:-ffunction-sections>
    $<${_code_languages}:-g0>
    $<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>
    $<${_code_languages}:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>
    $<${_code_languages}:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)

# The PE header's time stamp would otherwise be the clock's.
add_link_options(-Wl,--gc-sections -Wl,--no-insert-timestamp -s)
