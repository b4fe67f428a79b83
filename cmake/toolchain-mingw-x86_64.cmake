# 64-bit Windows: the same code for the Windows tests on machines that cannot run 32-bit
# programs.
set(KORVANTA_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
