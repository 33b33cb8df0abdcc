# GoogleTest from Debian's source package, built with this build's compiler (also for mingw).
set(VANTOR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${VANTOR_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${VANTOR_GTEST_SOURCE}; run scripts/setup")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${VANTOR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# A test program whose cases ctest lists one by one. Under Wine the list is taken just before
# the tests run, with a timeout that a cold prefix cannot miss.
function(vantor_gtest target)
  target_link_libraries(${target} PRIVATE GTest::gtest_main)
  vantor_strict(${target})
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT 120 ${ARGN})  # ARGN: further property-value pairs
endfunction()
