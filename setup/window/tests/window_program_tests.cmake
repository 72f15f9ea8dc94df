# VeskSetup.exe driven from outside: a copy started as a process of its own, its window found on
# the Xvfb screen and used with real input. The tests install the stand-in product for the real
# Wine user (default folder, registry, desktop), end "vesk.helm.exe" by name and move the pointer:
# SERIAL. The screenshot and log goldens live in golden/.
vesk_windows_path(window_program_golden_dir "${CMAKE_CURRENT_SOURCE_DIR}/golden")
vesk_windows_path(window_program_setup_exe "$<TARGET_FILE:VeskSetup>")
vesk_windows_path(window_program_application_exe "${VESK_STANDIN_APPLICATION}")
# The driver uses the live window tests' library (real input, the canvas and golden comparison)
# and names golden/ as its golden folder (and its folder of test images: it has none of its own).
add_library(window_program_driver STATIC window_program_driver.cpp)
target_link_libraries(window_program_driver PUBLIC vesk_engine_test_support
  vesk_live_window_support)
target_compile_definitions(window_program_driver PUBLIC
  VESK_SETUP_EXE=L"${window_program_setup_exe}"
  VESK_GOLDEN_DIR=L"${window_program_golden_dir}"
  VESK_STANDIN_APPLICATION_EXE=L"${window_program_application_exe}")
add_dependencies(window_program_driver VeskSetup standin_application)

vesk_add_test(window_program_tests SERIAL
  SOURCES window_program_test.cpp
  LIBRARIES window_program_driver)
# The planted-library test places the engine tests' marker library beside the setup program.
vesk_windows_path(window_program_marker_library "$<TARGET_FILE:vesk_marker_library>")
target_compile_definitions(window_program_tests PRIVATE
  VESK_MARKER_LIBRARY=L"${window_program_marker_library}")
add_dependencies(window_program_tests vesk_marker_library)

# At 150 %: a Wine prefix of its own whose screen has 144 dots per inch (the shared prefix keeps
# its 96, other tests run in it at the same time). Only where the tests run under Wine.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  vesk_add_test(window_program_dpi_tests SERIAL PREFIX dpi144 LOGPIXELS 144
    SOURCES window_program_dpi_test.cpp
    LIBRARIES window_program_driver)
endif()
