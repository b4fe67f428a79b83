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
    # Its test sources take the tree's precompiled test headers (korvanta_quick_test_sources).
    set_property(TARGET ${target} PROPERTY KORVANTA_TEST_HEADERS ON)
    if(KORVANTA_WINDOWS)
        korvanta_wine_gtest(${target})
    else()
        gtest_discover_tests(${target} PROPERTIES TIMEOUT ${KORVANTA_LIMIT_CASE})
    endif()
endfunction()

set(KORVANTA_TESTS_DIR ${PROJECT_SOURCE_DIR}/tests)
# Test code is compiled to build quickly, not to run quickly: what a test waits for is the
# program's code and Wine, not its own. Every source under tests/ of the targets made below
# `directory` is compiled without optimisation, and those of a GoogleTest executable
# (KORVANTA_TEST_HEADERS) with the tree's precompiled test headers (tests/support, test_headers).
# The program's own sources a test compiles with it, and the libraries it links, keep the
# options they ship with, and no headers they do not include themselves.
function(korvanta_quick_test_sources directory)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$")
            continue()
        endif()
        get_target_property(with_headers ${target} KORVANTA_TEST_HEADERS)
        if(with_headers)
            target_precompile_headers(${target} REUSE_FROM test_headers)
        endif()
        get_target_property(sources ${target} SOURCES)
        get_target_property(source_dir ${target} SOURCE_DIR)
        foreach(source IN LISTS sources)
            if(source MATCHES "^\\$<" OR NOT source MATCHES "\\.(c|cc|cpp)$")
                continue()
            endif()
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir} NORMALIZE
                       OUTPUT_VARIABLE path)
            cmake_path(IS_PREFIX KORVANTA_TESTS_DIR ${path} NORMALIZE in_tests)
            if(in_tests)
                set_property(SOURCE ${path} TARGET_DIRECTORY ${target} APPEND
                             PROPERTY COMPILE_OPTIONS -O0)
            elseif(with_headers)
                set_property(SOURCE ${path} TARGET_DIRECTORY ${target}
                             PROPERTY SKIP_PRECOMPILE_HEADERS ON)
            endif()
        endforeach()
    endforeach()
    get_property(folders DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(folder IN LISTS folders)
        korvanta_quick_test_sources(${folder})
    endforeach()
endfunction()
