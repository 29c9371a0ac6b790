# The dialog manager: dialog table and life cycle, extras block, number
# fields, dialog procedure and field access.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable PRIVATE
  ${here}/extras_reader.cpp
  ${here}/numfield_logic.cpp)
korv_add_test(dialogs_logic_test PORTABLE
  ${here}/tests/extras_reader_test.cpp
  ${here}/tests/numfield_logic_test.cpp)
