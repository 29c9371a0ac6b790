# Events, the event wait, the window tables, the root window and the
# toolkit's window procedures.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable PRIVATE ${here}/events.cpp)
korv_add_test(core_events_test PORTABLE ${here}/tests/events_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_win PRIVATE ${here}/win_tables.cpp)
endif()
