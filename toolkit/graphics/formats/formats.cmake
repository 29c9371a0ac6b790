# Readers of outside bytes: the checked byte cursor they all read through.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/byte_cursor.cpp)
korv_add_test(graphics_formats_test PORTABLE ${here}/tests/byte_cursor_test.cpp)
