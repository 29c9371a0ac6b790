# The text editor: creation and WEditFile, its record and buffer rows, its
# files, and its frame procedure with the built-in commands.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable PRIVATE ${here}/editor_rules.cpp ${here}/editor_buffers.cpp)
korv_add_test(editor_rules_test PORTABLE ${here}/tests/editor_rules_test.cpp
              ${here}/tests/editor_buffers_test.cpp)
