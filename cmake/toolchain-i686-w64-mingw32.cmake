# Cross build for Windows with mingw-w64 (i686); programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VANTOR_MINGW_TRIPLE i686-w64-mingw32)

set(CMAKE_C_COMPILER   ${VANTOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${VANTOR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest and build steps run Windows programs through Wine. scripts/ prepares the prefix.
# The 32-bit loader; when 32-bit Wine is missing the build still works, only its tests cannot run.
find_program(VANTOR_WINE32 NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VANTOR_WINE32 NAMES wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTOR_WINE32})
