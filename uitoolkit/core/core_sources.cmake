# Sources of the toolkit core that build on every platform (they reach the operating system only
# through ui_platform.h). Shared by the Windows build (CMakeLists.txt here) and the native Linux
# build (native/CMakeLists.txt) for sanitizers, fuzzing and benchmarks. Paths are relative to this
# folder.
set(SKINUI_CORE_PORTABLE_SOURCES
  ui_string.cpp
  ui_containers.cpp
  ui_geometry.cpp
)
# Unit tests of those sources; they run under Wine and natively under the sanitizers.
set(SKINUI_CORE_PORTABLE_TESTS
  tests/ui_string_test.cpp
  tests/ui_containers_test.cpp
  tests/ui_geometry_test.cpp
)
