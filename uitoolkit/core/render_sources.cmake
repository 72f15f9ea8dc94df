# Render engine sources that build on every platform (colour and value parsing, image
# descriptions, nine-slice geometry, multi-language tokens, markup-text tokens, pixel conversion)
# and their unit tests; appended to the core's portable lists. Paths are relative to this folder.
list(APPEND SKINUI_CORE_PORTABLE_SOURCES
  ui_value_parsing.cpp
  ui_color.cpp
  ui_image_description.cpp
  ui_nine_slice.cpp
  ui_multi_language.cpp
  ui_html_text_tokens.cpp
  ui_pixel_conversion.cpp
)
list(APPEND SKINUI_CORE_PORTABLE_TESTS
  tests/ui_value_parsing_test.cpp
  tests/ui_color_test.cpp
  tests/ui_image_description_test.cpp
  tests/ui_nine_slice_test.cpp
  tests/ui_multi_language_test.cpp
  tests/ui_html_text_tokens_test.cpp
  tests/ui_pixel_conversion_test.cpp
)
