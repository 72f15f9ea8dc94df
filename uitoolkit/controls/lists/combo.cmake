# skinui_combo: the drop-down combo box of the list family. Builds on skinui_controls only; its
# pop-up window comes through IControlManagerUI::CreatePopupHost, which the window folder
# implements.
add_library(skinui_combo STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ui_combo_geometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_combo.cpp
)
target_link_libraries(skinui_combo PUBLIC skinui_controls)

if(VESK_BUILD_TESTS)
  vesk_windows_path(combo_golden_folder "${CMAKE_CURRENT_LIST_DIR}/tests/golden")
  # Without a window: the placement and key-step tables.
  vesk_add_test(skinui_combo_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/ui_combo_geometry_test.cpp
    LIBRARIES skinui_combo)
  # Real windows with real input (SERIAL: they move the pointer and the focus): opening,
  # placement, choosing by mouse and keys, dismissal, no window left behind, and the golden
  # picture of an open combo.
  vesk_add_test(skinui_combo_live_tests SERIAL
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/ui_combo_live_test.cpp
    LIBRARIES vesk_live_window_support vesk_png_writer)
  target_compile_definitions(skinui_combo_live_tests PRIVATE
    "COMBO_GOLDEN_FOLDER=L\"${combo_golden_folder}\"")
endif()
