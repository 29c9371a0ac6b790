# Window operations and queries, status bars, text output; child and split
# windows and the window selection.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/window_ops_layout.cpp ${here}/child_windows.cpp)
korv_add_test(core_window_ops_layout_test PORTABLE ${here}/tests/window_ops_layout_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/window_ops_win.cpp ${here}/window_query_win.cpp ${here}/child_windows_win.cpp)
  target_link_libraries(korv_base PUBLIC comctl32)
  korv_add_test(core_window_ops_win_test GUI ${here}/tests/window_ops_win_test.cpp)
  korv_add_test(core_child_windows_test GUI ${here}/tests/child_windows_win_test.cpp ${here}/tests/child_windows_test.rc)
endif()
