# The converter's speed from a trackbar move to a finished refresh; run by
# bench/run_bench.sh, never as a test.
if(KORV_WINDOWS)
  add_executable(converter_bench ${CMAKE_CURRENT_LIST_DIR}/converter_bench.cpp
                 ${CMAKE_SOURCE_DIR}/app/resources/chromalversor.rc)
  target_link_libraries(converter_bench PRIVATE chromalversor_win)
endif()
