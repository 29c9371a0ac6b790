# The hardcopy device description and the Windows printer settings.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_hardcopy PRIVATE ${here}/device_description.cpp ${here}/printer_settings.cpp)
if(KORV_WINDOWS)
  target_sources(korv_hardcopy PRIVATE ${here}/win_printer_settings.cpp ${here}/win_print_image.cpp)
  target_link_libraries(korv_hardcopy PUBLIC winspool)
endif()
korv_add_test(hardcopy_description_test PORTABLE
  ${here}/tests/device_description_test.cpp ${here}/tests/printer_settings_test.cpp)
korv_add_test(hardcopy_printer_test WINDOWS ${here}/tests/win_printer_settings_test.cpp)
