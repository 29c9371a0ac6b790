# Toolkit start-up and the settings file.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable PRIVATE ${here}/startup_logic.cpp ${here}/startup_records.cpp)
korv_add_test(core_startup_test PORTABLE ${here}/tests/startup_logic_test.cpp)
