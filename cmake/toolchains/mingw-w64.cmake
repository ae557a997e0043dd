# What both Windows toolchain files share: Debian's mingw-w64 compilers for
# RXT9_MINGW_PREFIX (the -posix ones, whose threads std::thread needs), and the target's own
# libraries and headers under /usr/<prefix>.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${RXT9_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RXT9_MINGW_PREFIX}-g++-posix)
set(CMAKE_ASM_COMPILER ${RXT9_MINGW_PREFIX}-gcc-posix)
set(CMAKE_RC_COMPILER ${RXT9_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RXT9_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
