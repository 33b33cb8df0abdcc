# Cross build for 64-bit Windows with mingw-w64; programs run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VANTOR_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)

find_program(VANTOR_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VANTOR_WINE64 NAMES wine64 wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTOR_WINE64})
