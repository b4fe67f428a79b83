# Compile options shared by every target of the project's own code.
include(${CMAKE_CURRENT_LIST_DIR}/Warnings.cmake)

# Texts are written in UTF-8 and stay UTF-8: the program converts them to UTF-16 where they meet
# the platform (base/wide_win.h).
set(KORVANTA_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=UTF-8)

function(korvanta_defaults target)
    target_compile_options(${target} PRIVATE ${KORVANTA_CHARSET_FLAGS})
    korvanta_warnings(${target})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    if(KORVANTA_WINDOWS)
        target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                                                    WINVER=0x0601)
    endif()
endfunction()

# Windows executables carry no DLL dependency beyond the system's own.
function(korvanta_static_exe target)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()

# A GoogleTest executable of the project's own code, one CTest test per case: discovered
# natively, run under Wine on a lane in a Windows tree (korvanta_wine_gtest).
# GoogleTest's main is linked unless the sources bring their own (OWN_MAIN).
function(korvanta_gtest target)
    cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;LINK" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    korvanta_defaults(${target})
    if(ARG_OWN_MAIN)
        target_link_libraries(${target} PRIVATE ${ARG_LINK} GTest::gtest)
    else()
        target_link_libraries(${target} PRIVATE ${ARG_LINK} GTest::gtest_main)
    endif()
    if(KORVANTA_WINDOWS)
        korvanta_wine_gtest(${target})
    else()
        gtest_discover_tests(${target} PROPERTIES TIMEOUT ${KORVANTA_LIMIT_CASE})
    endif()
endfunction()
