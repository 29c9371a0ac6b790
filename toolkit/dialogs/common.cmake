# The message box and the file, colour and directory dialogs.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable PRIVATE ${here}/common_dialogs.cpp)
korv_add_test(dialogs_common_text_test PORTABLE ${here}/tests/common_dialogs_test.cpp)
