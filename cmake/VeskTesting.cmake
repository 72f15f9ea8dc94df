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

# vesk_add_test(<name> SOURCES ... [LIBRARIES ...] [SERIAL] [PREFIX <folder> [LOGPIXELS <dpi>]]
#               [FIXTURES ...])
#   SERIAL: the tests start programs that share the test user's registry and files, or move the
#           real pointer, so they never run beside another SERIAL test of the same Wine prefix.
#   PREFIX: under Wine, the tests run in a prefix of their own in <build>/<folder>, with its own
#           registry, user folders, server and virtual display, so its SERIAL tests can run beside
#           those of the shared prefix. LOGPIXELS gives that prefix another screen resolution.
#   FIXTURES: ctest fixtures the tests need.
# Under Wine each test program is one ctest entry that runs all its tests in one process:
# starting Wine costs more than most tests, so one process per test case would spend most of the
# run starting processes. The output names every failing test case, ctest shows it for a failed
# entry, and <build>/test-results/<name>.xml holds the result of each test case. Without an
# emulator (a Windows build) each test case is an entry of its own, as listed by the program.
function(vesk_add_test name)
  cmake_parse_arguments(ARG "SERIAL" "PREFIX;LOGPIXELS" "SOURCES;LIBRARIES;FIXTURES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} vesk_testsupport gmock gtest_main)
  set(properties)
  if(ARG_FIXTURES)
    list(APPEND properties FIXTURES_REQUIRED "${ARG_FIXTURES}")
  endif()
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    if(ARG_SERIAL)
      list(APPEND properties RESOURCE_LOCK user_state)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 600
                         PROPERTIES TIMEOUT 300 ${properties})
    return()
  endif()

  set(emulator ${CMAKE_CROSSCOMPILING_EMULATOR})
  set(lock wine_user_state)
  if(ARG_PREFIX)
    set(emulator ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR}/${ARG_PREFIX})
    if(ARG_LOGPIXELS)
      set(emulator /usr/bin/env VESK_WINE_LOGPIXELS=${ARG_LOGPIXELS} ${emulator})
    endif()
    set(lock wine_user_state_${ARG_PREFIX})
  endif()
  if(ARG_SERIAL)
    # The long serial programs start first, so that each prefix's line of them begins at once.
    list(APPEND properties RESOURCE_LOCK ${lock} COST 100)
  endif()
  vesk_windows_path(result_file "${CMAKE_BINARY_DIR}/test-results/${name}.xml")
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/cmake/run-test-program.sh ${emulator}
                   -- $<TARGET_FILE:${name}> --gtest_output=xml:${result_file})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900 ${properties})
endfunction()

if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME test_runner_restarts_a_silent_start
           COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/tests/run-test-program-test.sh)
endif()
