# The converter's speed from a trackbar move to a finished refresh; run by
# bench/run_bench.sh, never as a test.
if(KORV_WINDOWS)
  add_executable(converter_bench ${CMAKE_CURRENT_LIST_DIR}/converter_bench.cpp
                 ${CMAKE_SOURCE_DIR}/app/resources/chromalversor.rc)
  target_link_libraries(converter_bench PRIVATE chromalversor_win)
  # Its floor: the same window-system calls without the toolkit.
  add_executable(bare_refresh_bench ${CMAKE_CURRENT_LIST_DIR}/bare_refresh_bench.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/bare_refresh_bench.rc)
  target_link_libraries(bare_refresh_bench PRIVATE comctl32)
endif()
# IGrLoadImageData under Wine, run by bench/image_bench.sh.
if(KORV_WINDOWS)
  add_executable(image_bench_win ${CMAKE_CURRENT_LIST_DIR}/image_bench.cpp)
  target_link_libraries(image_bench_win PRIVATE korvanthide)
endif()
# The raster image driver against ghostscript; run by bench/run_drivers_bench.sh.
if(KORV_WINDOWS)
  add_executable(drivers_bench ${CMAKE_CURRENT_LIST_DIR}/drivers_bench.cpp)
  target_link_libraries(drivers_bench PRIVATE korvanthide)
endif()
