# Cross build for 32-bit Windows (the product) with mingw-w64; programs run under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VANTOR_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)

# ctest runs the programs through the 32-bit loader. Without 32-bit Wine the build still works;
# only its tests cannot run (scripts/test says so).
find_program(VANTOR_WINE32 NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VANTOR_WINE32 NAMES wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTOR_WINE32})
