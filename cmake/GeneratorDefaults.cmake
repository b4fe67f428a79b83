# What the generator and its tests are compiled with: the project's warnings, C++20, and their
# texts left in UTF-8, unlike the program's. The generator includes this file when it is built
# on its own too, outside the project.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/Warnings.cmake)

function(korvanta_gen_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
    korvanta_warnings(${target})
endfunction()
