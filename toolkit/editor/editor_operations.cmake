# The editor's operations for programs, find and replace, printing and
# coloured painting: the rules that need no window.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_editor PRIVATE ${here}/editor_positions.cpp ${here}/editor_paint_spans.cpp
               ${here}/editor_print_layout.cpp)
korv_add_test(editor_positions_test PORTABLE ${here}/tests/editor_positions_test.cpp
              ${here}/tests/editor_print_layout_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_editor PRIVATE ${here}/win_editor_operations.cpp ${here}/win_editor_program_lines.cpp
                 ${here}/win_editor_find.cpp ${here}/win_editor_print.cpp ${here}/win_editor_paint.cpp
                 ${here}/win_editor_detach.cpp)
endif()
if(KORV_WINDOWS)
  korv_add_test(editor_operations_test GUI ${here}/tests/win_editor_operations_test.cpp)
  target_link_libraries(editor_operations_test PRIVATE korv_editor_test_support)
endif()
if(KORV_WINDOWS)
  korv_add_test(editor_print_test GUI ${here}/tests/win_editor_print_test.cpp)
  target_link_libraries(editor_print_test PRIVATE korv_editor_test_support)
  add_test(NAME editor_print_pdf_check
           COMMAND bash ${here}/tests/editor_print_check.sh ${CMAKE_CURRENT_BINARY_DIR}/editor_print_out)
  set_tests_properties(editor_print_test PROPERTIES FIXTURES_SETUP editor_print_pdfs)
  set_tests_properties(editor_print_pdf_check PROPERTIES FIXTURES_REQUIRED editor_print_pdfs)
endif()
# The editor's benchmark; run by bench/run_editor_bench.sh, never as a test.
if(KORV_WINDOWS)
  add_executable(editor_bench ${CMAKE_SOURCE_DIR}/bench/editor_bench.cpp)
  target_link_libraries(editor_bench PRIVATE korvanthide)
endif()
if(KORV_WINDOWS)
  korv_add_test(editor_window_test GUI ${here}/tests/win_editor_window_test.cpp
                ${here}/tests/editor_window_test.rc)
  target_link_libraries(editor_window_test PRIVATE korv_editor_test_support)
endif()
