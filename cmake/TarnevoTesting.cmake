# tarnevo_add_bench(name SOURCES ... [LIBS ...]): a benchmark program run by the `bench` target.
function(tarnevo_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE tarnevo_source_root ${B_LIBS})
  set_property(GLOBAL APPEND PROPERTY TARNEVO_BENCHMARKS ${name})
endfunction()

# GoogleTest from the Debian sources, built with whatever compiler this build uses,
# and one helper to declare a test program.
if(NOT BUILD_TESTING)
  return()
endif()

if(NOT TARGET GTest::gtest_main)
  set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  # The sources, not an installed build: tests of a cross build need googletest built by the
  # cross compiler. GOOGLETEST_SOURCE_DIR may point elsewhere.
  find_path(GOOGLETEST_SOURCE_DIR NAMES googletest/CMakeLists.txt PATHS /usr/src/googletest
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gmock ALIAS gmock)
  endif()
endif()

# The Wine prefix every test of a cross build runs in; tools/run-ctest.sh creates it
# and starts its server before CTest runs.
set(TARNEVO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# tarnevo_add_gtest(name SOURCES ... [LIBS ...] [TIMEOUT s] [ENV VAR=value ...])
function(tarnevo_add_gtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tarnevo_source_root ${T_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set(env ${T_ENV})
  if(WIN32)
    list(APPEND env "WINEPREFIX=${TARNEVO_WINEPREFIX}" "WINEDEBUG=-all")
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}")
endfunction()
