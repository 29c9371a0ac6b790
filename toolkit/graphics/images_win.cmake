# Image files and metafiles on GDI contexts (Windows tree).
set(here ${CMAKE_CURRENT_LIST_DIR})
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/image_files_win.cpp ${here}/metafile_win.cpp)
endif()
korv_add_test(graphics_image_files_win_test WINDOWS ${here}/tests/win_image_files_test.cpp)
if(KORV_WINDOWS)
  # Saved areas and a recorded metafile opened by outside readers on the host.
  add_executable(graphics_outside_sample ${here}/tests/win_outside_sample.cpp)
  target_link_libraries(graphics_outside_sample PRIVATE korvanthide)
  add_test(NAME graphics_outside_readers_win
    COMMAND /usr/bin/python3 ${here}/tests/outside_readers_win.py ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh
            $<TARGET_FILE:graphics_outside_sample>)
  set_tests_properties(graphics_outside_readers_win PROPERTIES TIMEOUT 300 RESOURCE_LOCK x_display)
  # The same on a display of 8 bits per pixel (scripts/wine-env.sh).
  add_test(NAME graphics_outside_readers_depth8
    COMMAND /usr/bin/python3 ${here}/tests/outside_readers_win.py ${CMAKE_SOURCE_DIR}/scripts/wine-run-depth8.sh
            $<TARGET_FILE:graphics_outside_sample> depth8)
  set_tests_properties(graphics_outside_readers_depth8 PROPERTIES TIMEOUT 300 RESOURCE_LOCK x_display_depth8)
endif()
korv_add_test(graphics_bitmap_viewer_test GUI ${here}/tests/win_bitmap_viewer_test.cpp
              ${here}/tests/win_bitmap_viewer_test.rc)
