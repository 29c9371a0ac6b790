# Page set-up and printer set-up: the rules that need no window.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/page_setup_rules.cpp)
korv_add_test(dialogs_page_setup_rules_test PORTABLE ${here}/tests/page_setup_rules_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/page_setup_win.cpp ${here}/page_setup_dialog_win.cpp)
  target_link_libraries(korv_base PUBLIC comdlg32 winspool)
  korv_add_test(dialogs_page_setup_test GUI ${here}/tests/page_setup_win_test.cpp
                ${here}/tests/dialog_answerer.cpp ${here}/tests/dialog_test_support.cpp
                ${here}/tests/page_setup_test.rc)
endif()
