# The grid benchmarks; run by bench/run_grid_bench.sh, never as tests.
if(KORV_WINDOWS)
  add_executable(grid_bench EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/grid_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_bench.rc)
  target_link_libraries(grid_bench PRIVATE korvanthide psapi)
  add_executable(grid_page_bench EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/grid_page_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_page_bench.rc)
  target_link_libraries(grid_page_bench PRIVATE korvanthide)
endif()
