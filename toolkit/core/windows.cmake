# Events, the event wait, the window tables, the root window and the
# toolkit's window procedures.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/events.cpp)
korv_add_test(core_events_test PORTABLE ${here}/tests/events_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE
    ${here}/win_tables.cpp ${here}/win_tables_activate.cpp
    ${here}/events_win.cpp ${here}/pump_win.cpp
    ${here}/root_window_win.cpp ${here}/window_procs_win.cpp)
  target_link_libraries(korv_base PUBLIC comctl32 winmm)
endif()
korv_add_test(core_root_window_test GUI ${here}/tests/root_window_test.cpp
  ${here}/tests/root_window_test.rc)
korv_add_test(core_root_window_bars_test GUI ${here}/tests/root_window_bars_test.cpp
  ${here}/tests/root_window_bars_test.rc)
