# skinui_render: the GDI side of the render engine (drawing, image loading with stb_image, image
# tables, markup text). Windows only; the text processing it builds on is in skinui_core.

add_library(skinui_render STATIC
  ui_render_engine.cpp
  ui_html_text.cpp
  ui_image_loader.cpp
  ui_image_sources.cpp
  ui_image_cache.cpp
  ui_image_preload.cpp
  ui_platform_graphics.cpp
  ui_stb_image.cpp
)
target_link_libraries(skinui_render PUBLIC skinui_core gdi32)
target_include_directories(skinui_render PRIVATE ${VESK_STB_INCLUDE_DIR})
# The decoder is third-party code: its warnings are not ours.
if(MINGW)
  set_source_files_properties(ui_stb_image.cpp PROPERTIES COMPILE_OPTIONS "-w;$<$<CONFIG:Release>:-O2>")
elseif(MSVC)
  set_source_files_properties(ui_stb_image.cpp PROPERTIES COMPILE_OPTIONS "/w")
endif()

# bench/render_bench.exe: drawing, decoding, parsing and text figures, built on request.
add_executable(render_bench EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/bench/render_bench.cpp)
target_link_libraries(render_bench PRIVATE skinui_render)
target_include_directories(render_bench PRIVATE ${VESK_STB_INCLUDE_DIR})
if(MINGW)
  target_link_options(render_bench PRIVATE -municode)
endif()

if(VESK_BUILD_TESTS)
  vesk_windows_path(render_test_data "${CMAKE_CURRENT_SOURCE_DIR}/tests/render_data")
  vesk_windows_path(render_skin_folder "${PROJECT_SOURCE_DIR}/setup/skin")
  vesk_add_test(skinui_render_tests
    SOURCES
      tests/render_test_support.cpp
      tests/core_test_support.cpp
      tests/ui_render_engine_test.cpp
      tests/ui_render_draw_image_test.cpp
      tests/ui_image_loader_test.cpp
      tests/ui_image_cache_test.cpp
      tests/ui_html_text_test.cpp
      tests/ui_platform_graphics_test.cpp
      tests/render_test_resources.rc
    LIBRARIES skinui_render)
  vesk_windows_path(render_golden_folder "${CMAKE_CURRENT_SOURCE_DIR}/tests/render_golden")
  # The test resources name the test images relative to their folder.
  target_include_directories(skinui_render_tests PRIVATE ${VESK_STB_INCLUDE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/render_data)
  target_compile_definitions(skinui_render_tests PRIVATE
    "$<$<COMPILE_LANGUAGE:CXX>:RENDER_TEST_DATA=L\"${render_test_data}\">"
    "$<$<COMPILE_LANGUAGE:CXX>:RENDER_SKIN_FOLDER=L\"${render_skin_folder}\">"
    "$<$<COMPILE_LANGUAGE:CXX>:RENDER_GOLDEN_FOLDER=L\"${render_golden_folder}\">")
  set_source_files_properties(tests/render_test_resources.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/tests/render_data/quad.png;${CMAKE_CURRENT_SOURCE_DIR}/tests/render_data/nine.png;${CMAKE_CURRENT_SOURCE_DIR}/tests/render_data/not_an_image.png")
  target_link_libraries(skinui_render_tests PRIVATE vesk_png_writer)
endif()
