# Character size and angle, the stroke font "standard.chr" and the
# presentation-graphics set-up.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/stroke_font.cpp ${here}/stroke_font_glyphs.cpp
  ${here}/presentation_graphics.cpp)
korv_add_test(graphics_text_setup_test PORTABLE ${here}/tests/stroke_font_test.cpp
  ${here}/tests/presentation_graphics_test.cpp)
target_link_libraries(graphics_text_setup_test PRIVATE korv_graphics_testing)
