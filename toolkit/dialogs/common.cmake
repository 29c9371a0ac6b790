# The message box and the file, colour and directory dialogs.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/common_dialogs.cpp)
korv_add_test(dialogs_common_text_test PORTABLE ${here}/tests/common_dialogs_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/message_box_win.cpp ${here}/common_dialogs_win.cpp)
  target_link_libraries(korv_base PUBLIC comdlg32 shell32 ole32)
endif()
if(KORV_WINDOWS)
  add_executable(dialogs_error_box_child ${here}/tests/error_box_child.cpp)
  target_link_libraries(dialogs_error_box_child PRIVATE korv_base)
  korv_add_test(dialogs_message_box_test GUI ${here}/tests/message_box_win_test.cpp ${here}/tests/dialog_answerer.cpp
               )
  add_dependencies(dialogs_message_box_test dialogs_error_box_child)
endif()
if(KORV_WINDOWS)
  korv_add_test(dialogs_common_dialogs_test GUI ${here}/tests/common_dialogs_win_test.cpp ${here}/tests/dialog_answerer.cpp
               )
endif()
