# Image files and metafiles on GDI contexts (Windows tree).
set(here ${CMAKE_CURRENT_LIST_DIR})
if(KORV_WINDOWS)
  target_sources(korv_win PRIVATE ${here}/image_files_win.cpp ${here}/metafile_win.cpp)
endif()
korv_add_test(graphics_image_files_win_test WINDOWS ${here}/tests/win_image_files_test.cpp)
