# Every time limit of the suites, in seconds. A limit is there to catch a hang and name it,
# never to time work: no verdict may depend on how fast the machine is. So each one is at
# least five times the longest its work took on the slowest run measured, the whole of
# .ci/run on one core (taskset -c 0) with every lane busy; README.md ("Time limits") has the
# figures. A hang is named by the innermost limit: a test waiting for a window, a box, an
# answer, a child's end or one extraction gives up after KORVANTA_WAIT_LIMIT and says what it
# waited for; a test the waits do not cover ends at its CTest limit.
set(KORVANTA_WAIT_LIMIT 120)
# One GoogleTest case, listing a test program's cases, a short script.
set(KORVANTA_LIMIT_CASE 900)
# A Python module of end-to-end tests, the fault sweep, starting or stopping the lanes.
set(KORVANTA_LIMIT_SUITE 2400)
# A release build from an empty folder, and scripts/release.sh's runs with a modder's folders.
set(KORVANTA_LIMIT_RELEASE_BUILD 4000)
