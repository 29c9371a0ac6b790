# Tests that exercise the base together with a plug-in: they belong to no
# single layer.
set(here ${CMAKE_CURRENT_LIST_DIR})
# The settings file read into the base's and the hardcopy side's records.
korv_add_test(startup_settings_test PORTABLE ${here}/settings_test.cpp)
# The graphics state's senders, the target selection and the graphics
# start-up with the hardcopy driver it selects.
korv_add_test(graphics_state_test PORTABLE ${here}/graphics_device_test.cpp ${here}/graphics_select_test.cpp)
target_link_libraries(graphics_state_test PRIVATE korv_graphics_testing)
# Routines of several layers called before start-up.
korv_add_test(before_startup_test WINDOWS ${here}/before_startup_win_test.cpp)
if(KORV_WINDOWS)
  # Start-up in a fresh process, printing what it set up (see
  # core/startup.cmake for the tests that run it).
  add_executable(core_startup_probe ${here}/startup_probe.cpp)
  target_link_libraries(core_startup_probe PRIVATE korvanthide)
endif()
if(KORV_WINDOWS)
  # The graphics start-up on a real root window; closing the root also
  # closes hardcopy output.
  korv_add_test(graphics_startup_win_test GUI ${here}/graphics_startup_win_test.cpp
    ${here}/graphics_startup_win_test.rc)
  target_link_libraries(graphics_startup_win_test PRIVATE korv_graphics_testing)
endif()
if(KORV_WINDOWS)
  # Programs outside these targets get the same toolkit from an installed
  # one: linked by hand with the line of docs/LINKING.md, and through
  # find_package in a folder outside the tree.
  foreach(test plain_link_test outside_program_test)
    add_test(NAME ${test} COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/tests/${test}.sh
             ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK x_display TIMEOUT 300)
  endforeach()
endif()
