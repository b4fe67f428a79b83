# Every Windows test runs under one Wine prefix and one private X display in the build
# tree, prepared by the fixture "wine" and ended after the last test that needs it.
set(KORVANTA_BENCH_DIR ${CMAKE_BINARY_DIR}/bench)
set(KORVANTA_BENCH_SCRIPTS ${PROJECT_SOURCE_DIR}/tests/bench)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVANTA_BENCH_SCRIPTS}/wine-run ${KORVANTA_BENCH_DIR})

# The Wine loader for this tree's programs. A 64-bit tree (the test build for machines that
# cannot run 32-bit programs) goes straight to wine64: the 32-bit loader would not start.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(KORVANTA_WINE_LOADER /usr/lib/wine/wine64)
else()
    set(KORVANTA_WINE_LOADER wine)
endif()
file(WRITE ${KORVANTA_BENCH_DIR}/loader "${KORVANTA_WINE_LOADER}\n")

add_test(NAME bench.start COMMAND ${KORVANTA_BENCH_SCRIPTS}/bench-ctl start ${KORVANTA_BENCH_DIR})
add_test(NAME bench.stop COMMAND ${KORVANTA_BENCH_SCRIPTS}/bench-ctl stop ${KORVANTA_BENCH_DIR})
set_tests_properties(bench.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(bench.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# A GoogleTest executable run under Wine, one CTest test per case.
# SHARED_STATE: its cases change what the whole prefix sees (registry, drive letters,
# the staging directory) and so never run beside another such test.
# ON_SCREEN: its cases show windows and depend on activation and focus, which another test's
# window on the same display could take away.
function(korvanta_wine_gtest target)
    cmake_parse_arguments(ARG "SHARED_STATE;ON_SCREEN" "" "" ${ARGN})
    korvanta_static_exe(${target})
    set(props FIXTURES_REQUIRED wine TIMEOUT 120)
    # One lock per test: a list would not survive the discovery's property passing.
    if(ARG_SHARED_STATE AND ARG_ON_SCREEN)
        message(FATAL_ERROR "${target}: choose SHARED_STATE or ON_SCREEN")
    elseif(ARG_SHARED_STATE)
        list(APPEND props RESOURCE_LOCK prefix-state)
    elseif(ARG_ON_SCREEN)
        list(APPEND props RESOURCE_LOCK display)
    endif()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         PROPERTIES ${props})
endfunction()

# A Python module of end-to-end tests, named PREFIX.MODULE, run from the calling folder with
# the bench's helpers (tests/e2e) importable. They run alone: real input goes to whichever
# window has the focus on the shared display.
function(korvanta_e2e_module prefix module)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    add_test(NAME ${prefix}.${module}
             COMMAND ${Python3_EXECUTABLE} -m unittest -v ${module}
             WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    set_tests_properties(${prefix}.${module} PROPERTIES
        FIXTURES_REQUIRED wine
        RUN_SERIAL ON
        TIMEOUT 900
        ENVIRONMENT "KORVANTA_BUILD=${CMAKE_BINARY_DIR};KORVANTA_SOURCE=${PROJECT_SOURCE_DIR};PYTHONDONTWRITEBYTECODE=1;PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/e2e")
endfunction()
