# The dialog manager: dialog table and life cycle, extras block, number
# fields, dialog procedure and field access.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE
  ${here}/extras_reader.cpp
  ${here}/numfield_logic.cpp
  ${here}/number_text.cpp)
korv_add_test(dialogs_logic_test PORTABLE
  ${here}/tests/extras_reader_test.cpp
  ${here}/tests/numfield_logic_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE
    ${here}/win_dialog_state.cpp
    ${here}/win_dialog_table.cpp
    ${here}/win_dialog_public.cpp
    ${here}/win_dialog_show_at.cpp
    ${here}/win_dialog_copy.cpp
    ${here}/win_dialog_proc.cpp
    ${here}/win_dialog_events.cpp
    ${here}/win_dialog_support.cpp
    ${here}/win_extras.cpp
    ${here}/field_classes.cpp
    ${here}/win_fields.cpp
    ${here}/win_fields_edit.cpp
    ${here}/win_fields_button.cpp
    ${here}/win_fields_list.cpp
    ${here}/win_fields_trackbar.cpp
    ${here}/win_fields_tree.cpp
    ${here}/win_fields_image.cpp
    ${here}/win_numctl.cpp)
endif()
if(KORV_WINDOWS)
  # The dialog tests' own helpers, beside the shared ones; compiled once,
  # also for the tests of the layers that load dialogs.
  add_library(korv_dialog_test_support STATIC ${here}/tests/dialog_test_support.cpp)
  target_link_libraries(korv_dialog_test_support PUBLIC korv_test_support)
  korv_add_test(dialogs_numbers_test GUI ${here}/tests/number_fields_test.cpp ${here}/tests/dialogs_test.rc)
  korv_add_test(dialogs_life_test GUI ${here}/tests/dialog_life_test.cpp ${here}/tests/dialogs_test.rc)
  korv_add_test(dialogs_fields_test GUI ${here}/tests/extras_fields_test.cpp ${here}/tests/dialogs_test.rc)
  korv_add_test(dialogs_support_test GUI ${here}/tests/dialog_support_test.cpp ${here}/tests/dialogs_test.rc)
  foreach(test dialogs_numbers_test dialogs_life_test dialogs_fields_test dialogs_support_test)
    target_link_libraries(${test} PRIVATE korv_dialog_test_support)
  endforeach()
endif()
