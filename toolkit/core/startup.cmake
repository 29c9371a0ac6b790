# Toolkit start-up and the settings file.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/settings.cpp ${here}/startup_logic.cpp
  ${here}/startup_records.cpp ${here}/context.cpp)
korv_add_test(core_startup_test PORTABLE ${here}/tests/startup_logic_test.cpp ${here}/tests/context_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/startup_win.cpp)
  # Each start-up case runs in a fresh process, as start-up runs once; the
  # probe program is in toolkit/tests, since it reads hardcopy's records too.
  add_library(core_startup_runner STATIC ${here}/tests/win_startup_runner.cpp)
  target_link_libraries(core_startup_runner PUBLIC korvanthide)
endif()
korv_add_test(core_startup_win_test WINDOWS ${here}/tests/win_startup_test.cpp)
korv_add_test(core_startup_version_test GUI ${here}/tests/win_startup_version_test.cpp)
if(KORV_WINDOWS)
  foreach(t core_startup_win_test core_startup_version_test)
    target_link_libraries(${t} PRIVATE core_startup_runner)
    add_dependencies(${t} core_startup_probe)
  endforeach()
endif()
