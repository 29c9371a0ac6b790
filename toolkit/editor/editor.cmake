# The text editor: creation and WEditFile, its record and buffer rows, its
# files, and its frame procedure with the built-in commands.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_editor PRIVATE ${here}/editor_rules.cpp ${here}/editor_buffers.cpp)
korv_add_test(editor_rules_test PORTABLE ${here}/tests/editor_rules_test.cpp
              ${here}/tests/editor_buffers_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_editor PRIVATE ${here}/win_editor_create.cpp ${here}/win_editor_files.cpp
                 ${here}/win_editor_frame.cpp ${here}/win_editor_text.cpp
                 ${here}/win_editor_command_line.cpp
                 ${here}/editor_services.cpp)
endif()
if(KORV_WINDOWS)
  # The editor tests' own helpers, beside the shared ones; compiled once.
  add_library(korv_editor_test_support STATIC ${here}/tests/editor_gui_support.cpp)
  target_link_libraries(korv_editor_test_support PUBLIC korv_test_support)
  korv_add_test(editor_info_viewer_test GUI ${here}/tests/win_info_viewer_test.cpp)
  korv_add_test(editor_files_test GUI ${here}/tests/win_editor_files_test.cpp)
  korv_add_test(editor_frame_test GUI ${here}/tests/win_editor_frame_test.cpp ${here}/tests/editor_test.rc)
  korv_add_test(editor_routing_test GUI ${here}/tests/win_editor_routing_test.cpp)
  foreach(test editor_info_viewer_test editor_files_test editor_frame_test editor_routing_test)
    target_link_libraries(${test} PRIVATE korv_editor_test_support)
  endforeach()
endif()
