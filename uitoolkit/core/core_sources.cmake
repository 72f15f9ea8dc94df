# Sources of the toolkit core that build on every platform (they reach the operating system only
# through ui_platform.h). Shared by the Windows build (CMakeLists.txt here) and the native Linux
# build (native/CMakeLists.txt) for sanitizers, fuzzing and benchmarks. Paths are relative to this
# folder.
set(SKINUI_CORE_PORTABLE_SOURCES
  ui_string.cpp
  ui_containers.cpp
  ui_string_table.cpp
  ui_geometry.cpp
  markup.cpp
  zip_archive.cpp
  resource_files.cpp
)
# Unit tests of those sources; they run under Wine and natively under the sanitizers.
set(SKINUI_CORE_PORTABLE_TESTS
  tests/ui_string_test.cpp
  tests/ui_containers_test.cpp
  tests/ui_geometry_test.cpp
  tests/core_test_support.cpp
  tests/markup_parse_test.cpp
  tests/markup_node_test.cpp
  tests/markup_load_test.cpp
  tests/markup_scan_test.cpp
  tests/zip_archive_test.cpp
)

# The render engine's portable sources and tests.
include(${CMAKE_CURRENT_LIST_DIR}/render_sources.cmake)
