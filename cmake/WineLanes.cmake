# The Windows tests run under Wine on a pool of lanes in the build tree: each lane
# a Wine prefix, a private X display and a Wine server of its own (tests/wine/wine-lane),
# serving one test at a time. CTest hands each test a free lane when it runs with the pool's
# resource spec file (scripts/test.sh does); without it a test takes the first free lane.
set(KORVANTA_LANES_DIR ${CMAKE_BINARY_DIR}/lanes)
set(KORVANTA_WINE_SCRIPTS ${PROJECT_SOURCE_DIR}/tests/wine)
# Four on two cores: a lane spends much of its time waiting for windows and boxes, and with three
# the test phase kept the cores little more than half busy.
set(KORVANTA_LANES 4 CACHE STRING "Wine lanes the Windows tests run on side by side")
set(KORVANTA_LANE ${KORVANTA_WINE_SCRIPTS}/wine-lane ${KORVANTA_LANES_DIR})
set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVANTA_LANE} wine)
# A Windows test program on a lane with a spare drive letter of its own
# (KORVANTA_SCRATCH_DRIVE), so that a file written anywhere on that drive is seen.
set(KORVANTA_ON_SCRATCH_DRIVE ${KORVANTA_LANE} exec ${KORVANTA_WINE_SCRIPTS}/on-scratch-drive.sh)
# What a Python module of end-to-end tests finds in its environment.
set(KORVANTA_E2E_ENVIRONMENT
    "KORVANTA_BUILD=${CMAKE_BINARY_DIR};KORVANTA_EXE=$<TARGET_FILE:korvanta>;KORVANTA_SOURCE=${PROJECT_SOURCE_DIR};PYTHONDONTWRITEBYTECODE=1;PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/e2e;KORVANTA_WAIT_LIMIT=${KORVANTA_WAIT_LIMIT}")

# The Wine loader for this tree's programs. A 64-bit tree (the test build for machines that
# cannot run 32-bit programs) goes straight to wine64: the 32-bit loader would not start.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(KORVANTA_WINE_LOADER /usr/lib/wine/wine64)
else()
    set(KORVANTA_WINE_LOADER wine)
endif()
file(WRITE ${KORVANTA_LANES_DIR}/loader "${KORVANTA_WINE_LOADER}\n")
file(WRITE ${KORVANTA_LANES_DIR}/lanes "${KORVANTA_LANES}\n")
set(_lanes "")
foreach(i RANGE 1 ${KORVANTA_LANES})
    list(APPEND _lanes "{\"id\": \"${i}\"}")
endforeach()
list(JOIN _lanes ", " _lanes)
file(WRITE ${KORVANTA_LANES_DIR}/lanes.json
     "{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{\"lanes\": [${_lanes}]}]}\n")

add_test(NAME lanes.start COMMAND ${KORVANTA_LANE} start)
add_test(NAME lanes.stop COMMAND ${KORVANTA_LANE} stop)
set_tests_properties(lanes.start PROPERTIES FIXTURES_SETUP wine TIMEOUT ${KORVANTA_LIMIT_SUITE})
set_tests_properties(lanes.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT ${KORVANTA_LIMIT_SUITE})

# What every test on a lane has: the prepared lanes and a lane of its own. COST starts the long
# ones first, so that the lanes end together.
function(korvanta_on_lane test)
    cmake_parse_arguments(ARG "" "TIMEOUT;COST" "" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT ${KORVANTA_LIMIT_CASE})
    endif()
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS lanes:1
                         TIMEOUT ${ARG_TIMEOUT})
    if(ARG_COST)
        set_tests_properties(${test} PROPERTIES COST ${ARG_COST})
    endif()
endfunction()

# Compiles the Windows path of a file of the build machine into a test program as NAME: Wine
# sees the build machine's "/" as drive Z:.
function(korvanta_wine_path_definition target name path)
    string(REPLACE "/" "\\\\" _path "Z:${path}")
    target_compile_definitions(${target} PRIVATE ${name}="${_path}")
endfunction()

# A GoogleTest executable run under Wine, one CTest test per case, each on a lane.
function(korvanta_wine_gtest target)
    korvanta_static_exe(${target})
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT ${KORVANTA_LIMIT_CASE}
                         PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS lanes:1
                                    TIMEOUT ${KORVANTA_LIMIT_CASE})
endfunction()

# A Windows test program run on a lane with a spare drive letter of its own.
function(korvanta_scratch_drive_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT;COST" "COMMAND" ${ARGN})
    add_test(NAME ${name} COMMAND ${KORVANTA_ON_SCRATCH_DRIVE} ${ARG_COMMAND})
    korvanta_on_lane(${name} TIMEOUT ${ARG_TIMEOUT} COST ${ARG_COST})
endfunction()

# A test whose COMMAND (wine PROGRAM ... or exec COMMAND ...) runs on a lane of the code page
# given: 936 (the default) on the pool's lanes, 950, 1252 or 65001 on the pool's one lane of that
# code page (tests/wine/wine-lane), which its tests take in turn. Such a test still counts
# against the pool's lanes, so that no more Wine lanes run at once than the pool has.
function(korvanta_lane_test name)
    cmake_parse_arguments(ARG "" "CODE_PAGE;TIMEOUT;COST;WORKING_DIRECTORY" "COMMAND" ${ARGN})
    if(NOT ARG_WORKING_DIRECTORY)
        set(ARG_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    endif()
    if(NOT ARG_CODE_PAGE OR ARG_CODE_PAGE EQUAL 936)
        add_test(NAME ${name} COMMAND ${KORVANTA_LANE} ${ARG_COMMAND}
                 WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY})
        korvanta_on_lane(${name} TIMEOUT ${ARG_TIMEOUT} COST ${ARG_COST})
        return()
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT ${KORVANTA_LIMIT_CASE})
    endif()
    add_test(NAME ${name} COMMAND ${KORVANTA_LANE} --code-page ${ARG_CODE_PAGE} ${ARG_COMMAND}
             WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS lanes:1
                         RESOURCE_LOCK korvanta-lane-cp${ARG_CODE_PAGE} TIMEOUT ${ARG_TIMEOUT})
    if(ARG_COST)
        set_tests_properties(${name} PROPERTIES COST ${ARG_COST})
    endif()
endfunction()

# A Python module of end-to-end tests, named PREFIX.MODULE (PREFIX.NAME when a module runs more
# than once), run on a lane (of CODE_PAGE, 936 unless given) from the calling folder with the lane's helpers (tests/e2e) importable. Real
# input goes to whichever window has the focus on the lane's display, so the lane is the
# module's alone while it runs.
function(korvanta_e2e_module prefix module)
    cmake_parse_arguments(ARG "" "COST;CODE_PAGE;NAME" "" ${ARGN})
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    if(NOT ARG_NAME)
        set(ARG_NAME ${module})
    endif()
    korvanta_lane_test(${prefix}.${ARG_NAME} CODE_PAGE ${ARG_CODE_PAGE}
                       TIMEOUT ${KORVANTA_LIMIT_SUITE} COST ${ARG_COST}
                       WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                       COMMAND exec ${Python3_EXECUTABLE} -m unittest -v ${module})
    set_tests_properties(${prefix}.${ARG_NAME} PROPERTIES ENVIRONMENT "${KORVANTA_E2E_ENVIRONMENT}")
endfunction()
