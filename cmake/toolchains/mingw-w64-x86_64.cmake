# Cross build for x86_64 Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RXT9_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
