# The grid's cells, routines for programs, search, sort and files: no
# Windows API, tested natively.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_grid PRIVATE
  ${here}/grid_model.cpp
  ${here}/grid_cells.cpp
  ${here}/grid_extras_entry.cpp
  ${here}/grid_clipboard_text.cpp
  ${here}/grid_search.cpp
  ${here}/grid_csv.cpp
  ${here}/grid_html.cpp
  ${here}/grid_files.cpp
  ${here}/grid_print_layout.cpp
  ${here}/grid_backends.cpp
  ${here}/grid_routines.cpp
  ${here}/grid_row_routines.cpp
  ${here}/grid_sort.cpp
  ${here}/grid_search_routines.cpp
  ${here}/grid_file_routines.cpp)
korv_add_test(grid_cells_test PORTABLE
  ${here}/tests/grid_test_grid.cpp
  ${here}/tests/grid_cells_test.cpp
  ${here}/tests/grid_routines_test.cpp
  ${here}/tests/grid_search_test.cpp
  ${here}/tests/grid_backends_test.cpp)
# The files are read back by python3 and tidy, which run beside the native tree.
if(NOT KORV_WINDOWS)
  korv_add_test(grid_files_test PORTABLE ${here}/tests/grid_test_grid.cpp ${here}/tests/grid_files_test.cpp)
endif()
if(KORV_WINDOWS)
  target_sources(korv_grid PRIVATE
    ${here}/grid_frame_win.cpp
    ${here}/grid_setup_win.cpp
    ${here}/grid_cell_area_win.cpp
    ${here}/grid_cell_editor_win.cpp
    ${here}/grid_clipboard_win.cpp
    ${here}/grid_field_win.cpp
    ${here}/grid_print_win.cpp
    ${here}/grid_editor_create_win.cpp
    ${here}/grid_editor_frame_win.cpp
    ${here}/grid_editor_commands_win.cpp)
endif()
if(KORV_WINDOWS)
  korv_add_test(grid_program_test GUI ${here}/tests/grid_program_test.cpp ${here}/tests/grid_test.rc)
  korv_add_test(grid_window_test GUI ${here}/tests/grid_window_test.cpp ${here}/tests/grid_test.rc)
  target_link_libraries(grid_window_test PRIVATE korv_dialog_test_support)
  korv_add_test(grid_control_test GUI ${here}/tests/grid_control_test.cpp ${here}/tests/grid_test.rc)
  target_link_libraries(grid_control_test PRIVATE korv_dialog_test_support)
endif()
include(${CMAKE_SOURCE_DIR}/bench/grid_bench.cmake)
if(KORV_WINDOWS)
  add_executable(grid_print_test ${here}/tests/grid_print_test.cpp ${here}/tests/grid_test.rc)
  target_link_libraries(grid_print_test PRIVATE korvanthide korv_test_main korv_dialog_test_support)
  add_test(NAME grid_print_test COMMAND bash ${here}/tests/grid_print_check.sh $<TARGET_FILE:grid_print_test>)
  set_tests_properties(grid_print_test PROPERTIES TIMEOUT 300 RESOURCE_LOCK x_display)
endif()
if(KORV_WINDOWS)
  korv_add_test(grid_editor_test GUI ${here}/tests/grid_editor_test.cpp ${here}/tests/grid_editor_test.rc)
  target_link_libraries(grid_editor_test PRIVATE korv_dialog_test_support)
  add_executable(grid_xclip_test ${here}/tests/grid_xclip_test.cpp ${here}/tests/grid_test.rc)
  target_link_libraries(grid_xclip_test PRIVATE korvanthide korv_dialog_test_support)
  add_test(NAME grid_xclip_test COMMAND bash ${here}/tests/grid_xclip_check.sh $<TARGET_FILE:grid_xclip_test>)
  set_tests_properties(grid_xclip_test PROPERTIES TIMEOUT 120 RESOURCE_LOCK x_display)
endif()
