# GoogleTest built from source for the target, and vesk_add_test().
include(GoogleTest)

set(VESK_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${VESK_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(library gtest gtest_main gmock)
  if(TARGET ${library} AND MINGW)
    target_compile_options(${library} PRIVATE -w)
  endif()
endforeach()

# vesk_add_test(<name> SOURCES ... [LIBRARIES ...] [SERIAL] [FIXTURES ...])
#   SERIAL: the tests start programs that share the test user's registry and files, so they never
#           run beside another SERIAL test.
#   FIXTURES: ctest fixtures the tests need.
function(vesk_add_test name)
  cmake_parse_arguments(ARG "SERIAL" "" "SOURCES;LIBRARIES;FIXTURES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} vesk_testsupport gmock gtest_main)
  set(properties TIMEOUT 300)
  if(ARG_SERIAL)
    list(APPEND properties RESOURCE_LOCK wine_user_state)
  endif()
  if(ARG_FIXTURES)
    list(APPEND properties FIXTURES_REQUIRED "${ARG_FIXTURES}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 600
                       PROPERTIES ${properties})
endfunction()
