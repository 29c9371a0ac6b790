# The error reporter and its message catalogue.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable PRIVATE ${here}/errors.cpp ${here}/errors_catalogue.cpp)
korv_add_test(core_errors_test PORTABLE ${here}/tests/errors_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_win PRIVATE ${here}/win_errors.cpp)
  # Built into each program that links korv_win (see the file).
  target_sources(korv_win INTERFACE ${here}/win_errors_install.cpp)
  # A fresh process per scenario: the debug log is created on a run's first report.
  add_executable(core_errors_child ${here}/tests/errors_report_child.cpp)
  target_link_libraries(core_errors_child PRIVATE korv_win)
  korv_add_test(core_errors_win_test WINDOWS ${here}/tests/win_errors_test.cpp)
  add_dependencies(core_errors_win_test core_errors_child)
endif()
