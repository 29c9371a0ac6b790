# Toolkit start-up and the settings file.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable PRIVATE ${here}/settings.cpp ${here}/startup_logic.cpp
  ${here}/startup_records.cpp)
korv_add_test(core_startup_test PORTABLE ${here}/tests/startup_logic_test.cpp
  ${here}/tests/settings_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_win PRIVATE ${here}/startup_win.cpp)
  # Each start-up case runs in a fresh process, as start-up runs once.
  add_executable(core_startup_probe ${here}/tests/startup_probe.cpp)
  target_link_libraries(core_startup_probe PRIVATE korv_win)
  add_library(core_startup_runner STATIC ${here}/tests/win_startup_runner.cpp)
  target_include_directories(core_startup_runner PUBLIC ${CMAKE_SOURCE_DIR})
endif()
korv_add_test(core_startup_win_test WINDOWS ${here}/tests/win_startup_test.cpp)
korv_add_test(core_startup_version_test GUI ${here}/tests/win_startup_version_test.cpp)
if(KORV_WINDOWS)
  foreach(t core_startup_win_test core_startup_version_test)
    target_link_libraries(${t} PRIVATE core_startup_runner)
    add_dependencies(${t} core_startup_probe)
  endforeach()
endif()
