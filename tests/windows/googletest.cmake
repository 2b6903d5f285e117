# The cross build compiles GoogleTest from Debian's googletest sources with the same toolchain
# and runs every test program under wine in one Wine prefix, made once before the first test.
set(RUFWACHT_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${RUFWACHT_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Its own CMake lists define the GTest:: names the tests link to.

set(RUFWACHT_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
add_test(NAME wine_prefix COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-run.sh wineboot --init)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300 ENVIRONMENT
                                            WINEPREFIX=${RUFWACHT_WINE_PREFIX})

function(rufwacht_run_under_wine name)
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT WINEPREFIX=${RUFWACHT_WINE_PREFIX})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
endfunction()
