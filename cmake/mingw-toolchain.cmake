# The part of the two mingw-w64 toolchain files they share: the caller sets CMAKE_SYSTEM_PROCESSOR
# and VANTOR_MINGW_TRIPLE first. The posix-thread compilers are used because GoogleTest needs the
# standard thread library, which the win32-thread ones lack.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${VANTOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${VANTOR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
