# Cross build for 64-bit Windows. Only for running the tests on machines that
# cannot run 32-bit code; the product is the 32-bit build of mingw-i686.cmake.
set(KORV_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
