# The window object in the test process: its skin from setup/skin, HKEY_CURRENT_USER redirected,
# the folder picker, message box and free-space query replaced, and real clicks on its controls.
# SERIAL: the window's start terminates any "vesk.helm.exe" and the tests move the real pointer.
vesk_windows_path(main_window_skin_folder "${PROJECT_SOURCE_DIR}/setup/skin")
vesk_add_test(setup_main_window_tests SERIAL PREFIX second_prefix
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/main_window_test.cpp
  LIBRARIES vesk_setup_window vesk_live_window_support)
target_compile_definitions(setup_main_window_tests PRIVATE
  "SETUP_SKIN_FOLDER=L\"${main_window_skin_folder}\"")
