# Colour-shaded polygons: cleaning, triangulation and scan conversion shared
# by every device that shades.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/shaded_polygon.cpp)
korv_add_test(graphics_shaded_polygon_test PORTABLE ${here}/tests/shaded_polygon_test.cpp)
