# Conversions between numbers and texts, and the shared string routines.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/conversions.cpp ${here}/conversions_format.cpp)
korv_add_test(core_conversions_test PORTABLE ${here}/tests/conversions_format_test.cpp
              ${here}/tests/conversions_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/win_conversions.cpp)
  korv_add_test(core_conversions_win_test WINDOWS ${here}/tests/win_conversions_test.cpp)
endif()
