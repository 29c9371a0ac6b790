# The grid cells' benchmark; run by bench/run_grid_bench.sh, never as a test.
if(NOT KORV_WINDOWS)
  add_executable(grid_bench EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/grid_bench.cpp)
  target_link_libraries(grid_bench PRIVATE korvanthide)
endif()
