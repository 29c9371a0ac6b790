# The grid benchmarks; run by bench/run_grid_bench.sh, never as tests.
if(NOT KORV_WINDOWS)
  add_executable(grid_bench EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/grid_bench.cpp)
  target_link_libraries(grid_bench PRIVATE korvanthide)
else()
  add_executable(grid_page_bench EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/grid_page_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_page_bench.rc)
  target_link_libraries(grid_page_bench PRIVATE korvanthide korv_dialog_test_support)
endif()
