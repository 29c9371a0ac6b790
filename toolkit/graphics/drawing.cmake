# Colours, units and clipping, rectangles and fills (platform-free), and the
# GDI primitives, screen device and memory bitmaps (Win32).
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE
  ${here}/palette.cpp ${here}/palette_routines.cpp ${here}/units.cpp ${here}/primitives.cpp
  ${here}/bitmaps_pixels.cpp ${here}/gdi_geometry.cpp ${here}/screen_device.cpp)
korv_add_test(graphics_palette_test PORTABLE ${here}/tests/palette_test.cpp)
korv_add_test(graphics_bitmap_pixels_test PORTABLE ${here}/tests/bitmaps_pixels_test.cpp)
korv_add_test(graphics_gdi_geometry_test PORTABLE ${here}/tests/gdi_geometry_test.cpp)
korv_add_test(graphics_drawing_test PORTABLE ${here}/tests/drawing_test.cpp)
target_link_libraries(graphics_drawing_test PRIVATE korv_graphics_testing)
korv_add_test(graphics_screen_device_test PORTABLE ${here}/tests/screen_device_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/gdi_primitives_win.cpp ${here}/screen_device_win.cpp ${here}/bitmaps_win.cpp
                 ${here}/bitmap_viewer_win.cpp)
  korv_add_test(graphics_screen_device_win_test WINDOWS ${here}/tests/screen_device_win_test.cpp)
  korv_add_test(graphics_bitmaps_win_test WINDOWS ${here}/tests/bitmaps_win_test.cpp)
endif()
