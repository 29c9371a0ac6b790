# Window operations and queries, status bars, text output; child and split
# windows and the window selection.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable PRIVATE ${here}/window_ops_layout.cpp)
korv_add_test(core_window_ops_layout_test PORTABLE ${here}/tests/window_ops_layout_test.cpp)
