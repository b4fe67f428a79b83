# 32-bit Windows: korvanta.exe.
set(KORVANTA_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
