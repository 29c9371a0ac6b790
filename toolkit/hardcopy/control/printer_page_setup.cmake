# The page set-up of the Windows printer, on the dialog manager's page set-up.
set(here ${CMAKE_CURRENT_LIST_DIR})
if(KORV_WINDOWS)
  target_sources(korv_hardcopy PRIVATE ${here}/printer_page_setup_win.cpp)
  korv_add_test(hardcopy_printer_page_setup_test GUI ${here}/tests/printer_page_setup_test.cpp
                ${here}/../../dialogs/tests/page_setup_test.rc)
  target_link_libraries(hardcopy_printer_page_setup_test PRIVATE korv_dialog_test_support)
endif()
